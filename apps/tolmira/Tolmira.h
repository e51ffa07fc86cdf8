// The recent-work cleaner's application object.
#pragma once
#include "fw/framework.h"
#include "suiteapp.h"

class CTolmiraApp : public CSuiteApp
{
public:
    CTolmiraApp();
    virtual BOOL InitInstance();
};
