#include "BrisvaneDoc.h"

IMPLEMENT_DYNCREATE(CBrisvaneDoc, CDocument)

CBrisvaneDoc::CBrisvaneDoc() {}

CBrisvaneDoc::~CBrisvaneDoc() {}

BOOL CBrisvaneDoc::OnNewDocument() { return CDocument::OnNewDocument(); }
