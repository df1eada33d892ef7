// The Wine prefix the programs run in (scripts/lib/wine-env.sh) draws them as
// a Japanese Windows would: the dialog font names reach a proportional
// Japanese gothic, and the caption buttons have their symbol font.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct FontLook {
    std::string face;       // what the font was selected as
    BYTE charset = 0;
    bool proportional = false;
    LONG narrow = 0;        // width of "iiii"
    LONG wide = 0;          // width of "WWWW"
};

FontLook LookOf(const char* name) {
    FontLook look;
    HDC dc = GetDC(nullptr);
    if (!dc) return look;
    LOGFONTA request = {};
    request.lfHeight = -12;
    request.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(request.lfFaceName, name, LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&request);
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    if (previous) {
        char face[LF_FACESIZE] = {};
        GetTextFaceA(dc, sizeof face, face);
        look.face = face;
        TEXTMETRICA metrics = {};
        if (GetTextMetricsA(dc, &metrics)) {
            look.charset = metrics.tmCharSet;
            // The bit's name says the opposite of what it means: set is variable pitch.
            look.proportional = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) != 0;
        }
        SIZE size;
        if (GetTextExtentPoint32A(dc, "iiii", 4, &size)) look.narrow = size.cx;
        if (GetTextExtentPoint32A(dc, "WWWW", 4, &size)) look.wide = size.cx;
        SelectObject(dc, previous);
    }
    if (font) DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return look;
}

int CALLBACK NoteFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM found) {
    if (font->lfCharSet == SYMBOL_CHARSET) *reinterpret_cast<bool*>(found) = true;
    return 1;
}

TEST(PrefixFonts, ProportionalDialogFontsDrawWithTheProportionalGothic) {
    const FontLook gothic = LookOf("IPAPGothic");
    ASSERT_TRUE(gothic.proportional) << "fonts-ipafont-gothic is not installed (scripts/setup)";
    for (const char* name : {"ＭＳ Ｐゴシック", "MS UI Gothic", "MS Shell Dlg"}) {
        SCOPED_TRACE(name);
        const FontLook look = LookOf(name);
        EXPECT_EQ(look.face, name);  // selected under the name the dialog asked for
        EXPECT_EQ(look.charset, SHIFTJIS_CHARSET);
        EXPECT_TRUE(look.proportional);
        EXPECT_EQ(look.narrow, gothic.narrow);
        EXPECT_EQ(look.wide, gothic.wide);
    }
}

TEST(PrefixFonts, FixedPitchGothicStaysFixedPitch) {
    const FontLook look = LookOf("ＭＳ ゴシック");
    EXPECT_EQ(look.charset, SHIFTJIS_CHARSET);
    EXPECT_FALSE(look.proportional);
    EXPECT_EQ(look.narrow, look.wide);
    EXPECT_EQ(look.narrow, LookOf("IPAGothic").narrow);
}

TEST(PrefixFonts, CaptionButtonsHaveTheirSymbolFont) {
    HDC dc = GetDC(nullptr);
    ASSERT_NE(dc, nullptr);
    bool found = false;
    LOGFONTA request = {};
    request.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(request.lfFaceName, "Marlett", LF_FACESIZE);
    EnumFontFamiliesExA(dc, &request, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    EXPECT_TRUE(found) << "Marlett is missing from the prefix: caption buttons draw as letters";
}

}  // namespace
