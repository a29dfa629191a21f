// Writes the resource script of Vornel from the dialog table and the bitmap list.
// Usage: rcgen ART_DIR > Vornel.rc  (ART_DIR holds bitmap_<id>.bmp and kestrava.ico)
#include <cstdio>
#include <string>

#include "resources/ResourceIds.h"
#include "resources/Templates.h"

namespace {

constexpr unsigned long kVisible = 0x10000000;

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        if (c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

// CONTROL statements start from WS_CHILD | WS_VISIBLE, so hidden controls say so.
std::string Style(unsigned long style) {
    char text[48];
    std::snprintf(text, sizeof text, "0x%08lX%s", style, (style & kVisible) ? "" : " | NOT 0x10000000");
    return text;
}

void WriteDialog(const resources::DialogTemplate& dialog) {
    std::printf("%d DIALOG 0, 0, %d, %d\n", dialog.id, dialog.cx, dialog.cy);
    std::printf("STYLE 0x%08lX\n", static_cast<unsigned long>(dialog.style));
    if (dialog.exStyle) std::printf("EXSTYLE 0x%08lX\n", static_cast<unsigned long>(dialog.exStyle));
    std::printf("FONT %d, %s\nBEGIN\n", dialog.pointSize, Quoted(dialog.fontName).c_str());
    for (const resources::ControlTemplate& control : dialog.controls) {
        std::string text = control.bitmap ? std::to_string(control.bitmap) : Quoted(control.text);
        std::printf("    CONTROL %s, %d, %s, %s, %d, %d, %d, %d\n", text.c_str(), control.id,
                    Quoted(control.className).c_str(), Style(control.style).c_str(), control.x, control.y,
                    control.cx, control.cy);
    }
    std::printf("END\n\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: rcgen ART_DIR\n");
        return 2;
    }
    std::string art = argv[1];
    std::printf("// Written by rcgen; do not edit.\n");
    std::printf("LANGUAGE 0x12, 0x01\n\n");
    std::printf("%d ICON %s\n\n", resources::IDI_MAIN, Quoted(art + "/kestrava.ico").c_str());
    for (const resources::BitmapResource& bitmap : resources::BitmapResources()) {
        std::printf("%d BITMAP %s\n", bitmap.id, Quoted(art + "/bitmap_" + std::to_string(bitmap.id) + ".bmp").c_str());
    }
    std::printf("\n");
    for (const resources::DialogTemplate& dialog : resources::DialogTemplates()) WriteDialog(dialog);
    return 0;
}
