// eraser.exe: a dialog program that collects files and wipes them.
#pragma once

#include "fw/framework.h"

class CEraserApp : public CWinApp
{
public:
    CEraserApp();
    virtual BOOL InitInstance() override;
};
