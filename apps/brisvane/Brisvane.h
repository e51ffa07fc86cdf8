// The main trace cleaner's application object.
#pragma once
#include "fw/framework.h"

class CBrisvaneApp : public CWinApp
{
public:
    CBrisvaneApp();
    virtual BOOL InitInstance();
    virtual int ExitInstance();
};
