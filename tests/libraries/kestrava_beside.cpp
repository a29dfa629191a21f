// A library that the Wine tests place only beside the test program, to see whether a
// load by bare name still looks there.
extern "C" __declspec(dllexport) int KestravaBesideLibrary() { return 1; }
