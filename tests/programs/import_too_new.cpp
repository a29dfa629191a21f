// Imports GetTickCount64, which Windows XP lacks; the import audit's test expects it refused.
#include <windows.h>

int main() { return static_cast<int>(GetTickCount64() & 1); }
