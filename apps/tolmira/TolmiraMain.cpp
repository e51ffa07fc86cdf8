// The one application object of Tolmira.exe.
#include "Tolmira.h"

CTolmiraApp theApp;
