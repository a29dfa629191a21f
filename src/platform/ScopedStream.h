// A C runtime stream of the seam closed when it goes out of scope; Close gives fclose's
// answer where a writer must know that everything reached the file.
#pragma once

#include "Platform.h"
#include "Scoped.h"

namespace platform {

struct StreamKind : NullMeansNone<win::CRTFILE> {
    static int Close(win::CRTFILE stream) { return Files().fclose(stream); }
};
using ScopedStream = Scoped<StreamKind>;

}  // namespace platform
