// The plug-in builder's application object.
#pragma once
#include "fw/framework.h"
#include "suiteapp.h"

class CCorvaletApp : public CSuiteApp
{
public:
    CCorvaletApp();
    virtual BOOL InitInstance();
};
