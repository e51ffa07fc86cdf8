// The entry point of every program built on the framework: hands over to the
// application object through AfxWinMain.
#include "fw/app.h"

extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, pszCmdLine, nCmdShow);
}
