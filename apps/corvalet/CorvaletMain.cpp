// The one application object of Holberin.exe.
#include "Corvalet.h"

CCorvaletApp theApp;
