#include "TolmiraDoc.h"

IMPLEMENT_DYNCREATE(CTolmiraDoc, CDocument)

CTolmiraDoc::CTolmiraDoc() {}

CTolmiraDoc::~CTolmiraDoc() {}
