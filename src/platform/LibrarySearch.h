// The library search path of both programs: libraries loaded by bare name (by the
// program or by system libraries after start-up) come only from the system folder,
// never from the folder the program was unpacked to or the current folder.
#pragma once

namespace platform {

// Called first thing at start-up, before any window, bitmap or library is touched.
// SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) where kernel32 exports it
// (8 and later; Vista and 7 with the update that adds it), else SetDllDirectoryA("")
// where it exists (XP SP1 and later), which takes the current folder out of the search;
// nothing on older systems. Both are looked up at run time.
void RestrictLibrarySearch();

}  // namespace platform
