// Entry point of Vornel: argv[0] as the C runtime parsed it.
#include "app/MainApplication.h"

int main(int argc, char** argv) {
    MainApplication application;
    application.InitInstance(argc > 0 ? argv[0] : "");
    return 0;
}
