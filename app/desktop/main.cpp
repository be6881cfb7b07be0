// transref: the desktop program. Start-up creates every window once, shows
// the start window and hands over to the main window and the introduction;
// closing the start window (through any "&Fechar") ends the program.

#include "ui/DesktopStartUp.h"

int main(int argc, char* argv[]) { return transref::RunDesktopProgram(argc, argv); }
