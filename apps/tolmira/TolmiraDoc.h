// The recent-work cleaner's document: it holds no data; the framework only
// needs one to build the frame and the view.
#pragma once
#include "fw/framework.h"

class CTolmiraDoc : public CDocument
{
protected:
    CTolmiraDoc();
    DECLARE_DYNCREATE(CTolmiraDoc)

public:
    virtual ~CTolmiraDoc();
};
