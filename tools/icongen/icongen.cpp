// Draws the programs' printer icons and writes them as .ico files.
//
//   icongen TOPDIR          write every icon into its folder below TOPDIR
//                           (the source tree: panel/resources/icons and
//                           monitor/resources/icons)
//   icongen --check TOPDIR  exit 1 unless the files there are what this
//                           program draws (keeps the committed icons honest)
//
// Each icon holds a 16x16 and a 32x32 image in the 16-colour VGA palette, so
// that it also looks right in a 16-colour image list. Shapes are laid out on
// a 32-unit grid and sampled at pixel centres for either size.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

enum Colour : std::uint8_t {
    Black = 0, Maroon, Green, Olive, Navy, Purple, Teal, Silver,
    Grey, Red, Lime, Yellow, Blue, Fuchsia, Aqua, White,
    Clear = 0xFF,
};

const std::uint8_t kPalette[16][3] = {  // RGB
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};

// A picture is a function from a point on the 32-unit grid to a colour;
// layers are painted in order, later ones over earlier ones.
using Layer = std::function<Colour(double x, double y)>;

Layer Rect(double x0, double y0, double x1, double y1, Colour c) {
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1 ? c : Clear; };
}

Layer Disc(double cx, double cy, double r, Colour c) {
    return [=](double x, double y) { return std::hypot(x - cx, y - cy) <= r ? c : Clear; };
}

// Triangle pointing up: apex (cx, top), base from cx-half to cx+half at bottom.
Layer Triangle(double cx, double top, double bottom, double half, Colour c) {
    return [=](double x, double y) {
        if (y < top || y >= bottom) return Clear;
        const double w = half * (y - top) / (bottom - top);
        return std::fabs(x - cx) <= w ? c : Clear;
    };
}

Layer Cross(double cx, double cy, double reach, double width, Colour c) {
    return [=](double x, double y) {
        const double dx = x - cx, dy = y - cy;
        if (std::fabs(dx) > reach || std::fabs(dy) > reach) return Clear;
        return std::fabs(dx - dy) <= width || std::fabs(dx + dy) <= width ? c : Clear;
    };
}

std::vector<Layer> Printer() {
    return {
        // sheet coming out of the top, with two printed lines
        Rect(8, 1, 24, 14, Black), Rect(9, 2, 23, 14, White),
        Rect(11, 5, 21, 6, Grey), Rect(11, 8, 19, 9, Grey),
        // body with a light top edge and a dark base
        Rect(2, 12, 30, 26, Black), Rect(3, 13, 29, 25, Silver),
        Rect(3, 13, 29, 14, White), Rect(3, 21, 29, 25, Grey),
        // paper slot and the green ready lamp
        Rect(6, 16, 26, 18, Black), Rect(23, 19, 26, 21, Lime),
        // stand
        Rect(5, 26, 27, 28, Black),
    };
}

// A frame of the printing animation: the sheet rises out of the printer
// and picks up printed lines as it goes (frame 1 to 5).
std::vector<Layer> Printing(int frame) {
    const double top = 14 - 2.6 * frame;  // upper edge of the sheet
    std::vector<Layer> l = {
        Rect(8, top - 1, 24, 14, Black), Rect(9, top, 23, 14, White),
    };
    for (int line = 0; line < frame; ++line) {
        const double y = top + 2 + 2 * line;
        if (y < 12) l.push_back(Rect(11, y, line % 2 ? 18 : 21, y + 1, Grey));
    }
    const std::vector<Layer> body = Printer();
    l.insert(l.end(), body.begin() + 4, body.end());  // the printer without its idle sheet
    return l;
}
std::vector<Layer> Printing1() { return Printing(1); }
std::vector<Layer> Printing2() { return Printing(2); }
std::vector<Layer> Printing3() { return Printing(3); }
std::vector<Layer> Printing4() { return Printing(4); }
std::vector<Layer> Printing5() { return Printing(5); }

std::vector<Layer> WithError() {
    std::vector<Layer> l = Printer();
    l.push_back(Disc(23, 23, 8.2, Black));
    l.push_back(Disc(23, 23, 7.2, Red));
    l.push_back(Cross(23, 23, 4.2, 1.1, White));
    return l;
}

std::vector<Layer> WithInformation() {
    std::vector<Layer> l = Printer();
    l.push_back(Disc(23, 23, 8.2, Black));
    l.push_back(Disc(23, 23, 7.2, Blue));
    l.push_back(Rect(21.5, 17.5, 24.5, 20, White));  // dot of the "i"
    l.push_back(Rect(21.5, 21.5, 24.5, 28.5, White));
    return l;
}

std::vector<Layer> WithWarning() {
    std::vector<Layer> l = Printer();
    l.push_back(Triangle(23, 13, 31.8, 9.2, Black));
    l.push_back(Triangle(23, 15.5, 30.6, 7.4, Yellow));
    l.push_back(Rect(21.7, 19.5, 24.3, 26.5, Black));  // "!"
    l.push_back(Rect(21.7, 27.2, 24.3, 29.6, Black));
    return l;
}

// Hardware alarms: the ready lamp turns red and a red disc with a white "!"
// calls for the service engineer (the error icon has a cross instead).
std::vector<Layer> WithAlarm() {
    std::vector<Layer> l = Printer();
    l.push_back(Rect(23, 19, 26, 21, Red));
    l.push_back(Disc(23, 23, 8.2, Black));
    l.push_back(Disc(23, 23, 7.2, Red));
    l.push_back(Rect(21.5, 17.5, 24.5, 25, White));  // "!"
    l.push_back(Rect(21.5, 26, 24.5, 28.5, White));
    return l;
}

std::vector<std::uint8_t> Render(const std::vector<Layer>& layers, int size) {
    std::vector<std::uint8_t> pixels(size * size, Clear);
    const double unit = 32.0 / size;
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            const double x = (px + 0.5) * unit, y = (py + 0.5) * unit;
            for (const Layer& layer : layers) {
                const Colour c = layer(x, y);
                if (c != Clear) pixels[py * size + px] = c;
            }
        }
    return pixels;
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, unsigned v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// One icon image: BITMAPINFOHEADER (height doubled for the mask), palette,
// 4-bit colour rows and 1-bit transparency mask rows, both bottom-up and
// padded to 4 bytes.
std::vector<std::uint8_t> IconImage(const std::vector<std::uint8_t>& pixels, int size) {
    std::vector<std::uint8_t> out;
    const int colourRow = ((size * 4 + 31) / 32) * 4;
    const int maskRow = ((size + 31) / 32) * 4;
    Put32(out, 40);
    Put32(out, size);
    Put32(out, size * 2);
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);
    Put32(out, (colourRow + maskRow) * size);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 16);
    Put32(out, 0);
    for (const auto& rgb : kPalette) {
        out.push_back(rgb[2]);
        out.push_back(rgb[1]);
        out.push_back(rgb[0]);
        out.push_back(0);
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(colourRow, 0);
        for (int x = 0; x < size; ++x) {
            const std::uint8_t p = pixels[y * size + x];
            const std::uint8_t index = p == Clear ? 0 : p;
            row[x / 2] |= x % 2 ? index : index << 4;
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskRow, 0);
        for (int x = 0; x < size; ++x)
            if (pixels[y * size + x] == Clear) row[x / 8] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<std::uint8_t> IconFile(const std::vector<Layer>& layers) {
    const int sizes[] = {16, 32};
    std::vector<std::vector<std::uint8_t>> images;
    for (int s : sizes) images.push_back(IconImage(Render(layers, s), s));
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, static_cast<unsigned>(images.size()));
    unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(sizes[i]));
        out.push_back(static_cast<std::uint8_t>(sizes[i]));
        out.push_back(16);  // colours
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 4);
        Put32(out, static_cast<unsigned>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<unsigned>(images[i].size());
    }
    for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}

struct IconSpec {
    const char* file;  // below TOPDIR
    std::vector<Layer> (*draw)();
};

const IconSpec kIcons[] = {
    // The remote panel: message icons 160, 181, 182, 183 and the printing
    // animation 187-191.
    {"panel/resources/icons/printer.ico", Printer},
    {"panel/resources/icons/printer_error.ico", WithError},
    {"panel/resources/icons/printer_info.ico", WithInformation},
    {"panel/resources/icons/printer_warning.ico", WithWarning},
    {"panel/resources/icons/printing_1.ico", Printing1},
    {"panel/resources/icons/printing_2.ico", Printing2},
    {"panel/resources/icons/printing_3.ico", Printing3},
    {"panel/resources/icons/printing_4.ico", Printing4},
    {"panel/resources/icons/printing_5.ico", Printing5},
    // The status monitor: 199 (class and tray icon), 211, 212, 213, 226.
    {"monitor/resources/icons/status_ready.ico", Printer},
    {"monitor/resources/icons/status_info.ico", WithInformation},
    {"monitor/resources/icons/status_warning.ico", WithWarning},
    {"monitor/resources/icons/status_error.ico", WithError},
    {"monitor/resources/icons/status_alarm.ico", WithAlarm},
};

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& data) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::string(argv[1]) == "--check";
    if (argc != 2 && !check) {
        std::fprintf(stderr, "usage: icongen [--check] TOPDIR\n");
        return 2;
    }
    const std::string dir = argv[argc - 1];
    int differing = 0;
    for (const IconSpec& icon : kIcons) {
        const std::vector<std::uint8_t> data = IconFile(icon.draw());
        const std::string path = dir + "/" + icon.file;
        if (check) {
            std::vector<std::uint8_t> existing;
            if (!ReadFile(path, existing) || existing != data) {
                std::fprintf(stderr, "icongen: %s differs from the drawing; run scripts/make-icons\n", path.c_str());
                ++differing;
            }
            continue;
        }
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        if (!out) {
            std::fprintf(stderr, "icongen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return differing ? 1 : 0;
}
