// The recent-work cleaner's application object.
#pragma once
#include "fw/framework.h"

class CTolmiraApp : public CWinApp
{
public:
    CTolmiraApp();
    virtual BOOL InitInstance();
    virtual int ExitInstance();
};
