// The main cleaner's document: it holds no data; the framework only needs
// one to build the frame and the view.
#pragma once
#include "fw/framework.h"

class CBrisvaneDoc : public CDocument
{
protected:
    CBrisvaneDoc();
    DECLARE_DYNCREATE(CBrisvaneDoc)

public:
    virtual ~CBrisvaneDoc();
    virtual BOOL OnNewDocument();
};
