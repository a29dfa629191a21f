// Writes the resource script of a program: its manifest and version information, and
// for Vornel the icon, the bitmaps and the dialogs from the dialog table.
// Usage: rcgen PROGRAM VERSION RESOURCE_DIR [ART_DIR] > PROGRAM.rc
//   VERSION      up to four numbers, as "1.0.0"
//   RESOURCE_DIR the folder of the manifests (src/resources)
//   ART_DIR      Vornel only: the folder of bitmap_<id>.bmp and kestrava.ico
#include <cstdio>
#include <sstream>
#include <string>
#include <utility>

#include "resources/ProgramInfo.h"
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

// "1.0.0" as the four numbers of a version resource, "1,0,0,0"; empty when malformed.
std::string VersionNumbers(const std::string& version) {
    std::istringstream parts(version);
    std::string part;
    std::string numbers;
    int count = 0;
    while (std::getline(parts, part, '.')) {
        if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos || ++count > 4) return "";
        numbers += (numbers.empty() ? "" : ",") + part;
    }
    for (; count > 0 && count < 4; ++count) numbers += ",0";
    return numbers;
}

// Korean (0x0412) texts in code page 949; the file runs on both Windows families.
void WriteVersionInfo(const resources::ProgramInfo& program, const std::string& version,
                      const std::string& numbers) {
    std::printf("1 VERSIONINFO\nFILEVERSION %s\nPRODUCTVERSION %s\n", numbers.c_str(), numbers.c_str());
    std::printf("FILEFLAGSMASK 0x3F\nFILEFLAGS 0\nFILEOS 0x4\nFILETYPE 0x1\nFILESUBTYPE 0\nBEGIN\n");
    std::printf("    BLOCK \"StringFileInfo\"\n    BEGIN\n        BLOCK \"041203B5\"\n        BEGIN\n");
    const std::string exe = std::string(program.name) + ".exe";
    const std::pair<const char*, std::string> values[] = {
        {"CompanyName", resources::kProductName},     {"FileDescription", program.description},
        {"FileVersion", version},                     {"InternalName", program.name},
        {"OriginalFilename", exe},                    {"ProductName", resources::kProductName},
        {"ProductVersion", version},
    };
    for (const auto& [name, value] : values) {
        std::printf("            VALUE %s, %s\n", Quoted(name).c_str(), Quoted(value).c_str());
    }
    std::printf("        END\n    END\n    BLOCK \"VarFileInfo\"\n    BEGIN\n");
    std::printf("        VALUE \"Translation\", 0x412, 949\n    END\nEND\n\n");
}

}  // namespace

int main(int argc, char** argv) {
    const resources::ProgramInfo* program = argc >= 4 ? resources::FindProgramInfo(argv[1]) : nullptr;
    const bool vornel = program != nullptr && std::string(program->name) == "Vornel";
    const std::string numbers = argc >= 4 ? VersionNumbers(argv[2]) : "";
    if (program == nullptr || numbers.empty() || argc != (vornel ? 5 : 4)) {
        std::fprintf(stderr, "usage: rcgen Vornel|Drainex VERSION RESOURCE_DIR [ART_DIR (Vornel)]\n");
        return 2;
    }
    std::printf("// Written by rcgen; do not edit.\n");
    std::printf("LANGUAGE 0x12, 0x01\n\n");
    // The manifest (RT_MANIFEST 24, id 1) that Windows reads when it starts the program.
    std::printf("1 24 %s\n\n", Quoted(std::string(argv[3]) + "/" + program->manifest).c_str());
    WriteVersionInfo(*program, argv[2], numbers);
    if (!vornel) return 0;

    std::string art = argv[4];
    std::printf("%d ICON %s\n\n", resources::IDI_MAIN, Quoted(art + "/kestrava.ico").c_str());
    for (const resources::BitmapResource& bitmap : resources::BitmapResources()) {
        std::printf("%d BITMAP %s\n", bitmap.id, Quoted(art + "/bitmap_" + std::to_string(bitmap.id) + ".bmp").c_str());
    }
    std::printf("\n");
    for (const resources::DialogTemplate& dialog : resources::DialogTemplates()) WriteDialog(dialog);
    return 0;
}
