// The main trace cleaner's application object.
#pragma once
#include "fw/framework.h"
#include "suiteapp.h"

class CBrisvaneApp : public CSuiteApp
{
public:
    CBrisvaneApp();
    virtual BOOL InitInstance();
};
