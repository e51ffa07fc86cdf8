// The plug-in builder's application object.
#pragma once
#include "fw/framework.h"

class CCorvaletApp : public CWinApp
{
public:
    CCorvaletApp();
    virtual BOOL InitInstance();
    virtual int ExitInstance();
};
