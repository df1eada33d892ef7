// The console tool's system side on Linux and other POSIX systems: files
// through stdio and rename, text converted from code page 932 to the
// locale's encoding with iconv.
#include "console/console_platform.h"

#include <iconv.h>
#include <langinfo.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>

bool ReadWholeFile(const std::string& path, std::string* bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bytes->clear();
    char buffer[4096];
    bool ok = true;
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file);
        bytes->append(buffer, n);
        if (bytes->size() > static_cast<std::size_t>(ConsoleFileLimit)) ok = false;
        if (n < sizeof buffer || !ok) break;
    }
    if (std::ferror(file)) ok = false;
    std::fclose(file);
    return ok;
}

bool ReplaceFileWhole(const std::string& path, const std::string& bytes) {
    std::string temporary = path + ".XXXXXX";
    const int descriptor = mkstemp(&temporary[0]);
    if (descriptor < 0) return false;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(descriptor, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    const bool whole = written == bytes.size() && fsync(descriptor) == 0;
    const bool closed = close(descriptor) == 0;
    if (whole && closed && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    std::remove(temporary.c_str());
    return false;
}

ConsoleLanguage OutputLanguage() { return LanguageEnglish; }

void WriteOutput(std::FILE* stream, const std::string& text) {
    static bool localeSet = false;
    if (!localeSet) {
        std::setlocale(LC_CTYPE, "");
        localeSet = true;
    }
    const char* target = nl_langinfo(CODESET);
    iconv_t convert = iconv_open(target && *target ? target : "UTF-8", "CP932");
    if (convert == reinterpret_cast<iconv_t>(-1)) {
        std::fwrite(text.data(), 1, text.size(), stream);
        return;
    }
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(convert, &in, &inLeft, &out, &outLeft);
        std::fwrite(buffer, 1, sizeof buffer - outLeft, stream);
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A byte the locale cannot show: a question mark, and on.
            std::fputc('?', stream);
            ++in;
            --inLeft;
        }
    }
    iconv_close(convert);
}
