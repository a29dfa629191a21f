// The GDI behaviour the simulated GDI copies, checked on the real one.
#include "platform/GdiBehaviour.h"

namespace {

TEST(GdiBehaviourWine, SectionsKeepTheirFormatAndRowOrder) { gdi_behaviour::SectionsKeepTheirFormatAndRowOrder(); }

TEST(GdiBehaviourWine, CompatibleBitmapOfAFreshMemoryDcIsMonochrome) {
    win::HDC screen = platform::User().GetDC(nullptr);
    gdi_behaviour::CompatibleBitmapOfAFreshMemoryDcIsMonochrome(screen);
    platform::User().ReleaseDC(nullptr, screen);
}

TEST(GdiBehaviourWine, ABitmapLivesInOneDcAtATime) { gdi_behaviour::ABitmapLivesInOneDcAtATime(); }

TEST(GdiBehaviourWine, MaskedPictureLeavesTheGroundUnderKeyPixels) {
    gdi_behaviour::MaskedPictureLeavesTheGroundUnderKeyPixels();
}

TEST(GdiBehaviourWine, OverlappingCopiesReadTheOldPixels) { gdi_behaviour::OverlappingCopiesReadTheOldPixels(); }

TEST(GdiBehaviourWine, RegionCombinationsKeepTheBandedForm) { gdi_behaviour::RegionCombinationsKeepTheBandedForm(); }

TEST(GdiBehaviourWine, RectangleListsMergeIntoBands) { gdi_behaviour::RectangleListsMergeIntoBands(); }

}  // namespace
