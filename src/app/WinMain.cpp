// Entry point of Vornel: argv[0] as the C runtime parsed it.
#include "DrainexDigest.h"
#include "app/MainApplication.h"
#include "platform/LibrarySearch.h"

int main(int argc, char** argv) {
    platform::RestrictLibrarySearch();
    MainApplication application(kBuiltDrainexDigest);
    application.InitInstance(argc > 0 ? argv[0] : "");
    return 0;
}
