#include "skin/SkinBitmaps.h"

#include <iterator>

#include "resources/ResourceIds.h"
#include "skin/SkinDraw.h"

namespace {

SkinBitmapSet bitmaps;

platform::ScopedGdiObject* const kSlots[] = {&bitmaps.titleLeft, &bitmaps.titleTile, &bitmaps.titleRight,
                                             &bitmaps.mainBody, &bitmaps.boostBody};
constexpr int kIds[] = {resources::IDB_TITLE_LEFT, resources::IDB_TITLE_TILE, resources::IDB_TITLE_RIGHT,
                        resources::IDB_MAIN_BODY, resources::IDB_BOOST_BODY};

}  // namespace

bool LoadSkinBitmaps() {
    bool all = true;
    for (size_t i = 0; i < std::size(kIds); ++i) {
        *kSlots[i] = platform::ScopedGdiObject(LoadSkinBitmap(kIds[i]));
        all = all && *kSlots[i];
    }
    return all;
}

void FreeSkinBitmaps() {
    for (platform::ScopedGdiObject* slot : kSlots) slot->Reset();
}

const SkinBitmapSet& SkinBitmaps() { return bitmaps; }
