// Dialog templates and bitmap resources of Vornel, as data. The resource script
// for the Windows build is written from these tables, and the simulated machine
// builds its dialogs from them.
#pragma once

#include <vector>

#include "platform/BaseTypes.h"

namespace resources {

struct ControlTemplate {
    int id;  // -1 for none
    const char* className;
    const char* text;
    win::DWORD style;  // full window style
    short x, y, cx, cy;  // dialog units
    int bitmap;  // SS_BITMAP statics: the bitmap resource, else 0
};

struct DialogTemplate {
    int id;
    win::DWORD style;
    win::DWORD exStyle;
    short cx, cy;  // dialog units
    const char* fontName;
    int pointSize;
    std::vector<ControlTemplate> controls;
};

struct BitmapResource {
    int id;
    int width;
    int height;
};

const DialogTemplate* FindDialogTemplate(int id);
const std::vector<DialogTemplate>& DialogTemplates();
// Every bitmap in the resource set, with its size in pixels.
const std::vector<BitmapResource>& BitmapResources();
const BitmapResource* FindBitmapResource(int id);

}  // namespace resources
