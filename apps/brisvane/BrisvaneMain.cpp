// The one application object of Brisvane.exe.
#include "Brisvane.h"

CBrisvaneApp theApp;
