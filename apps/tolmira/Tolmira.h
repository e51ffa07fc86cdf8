// The recent-work cleaner's application object.
#pragma once
#include "fw/framework.h"
#include "suiteapp.h"
#include <memory>
#include <vector>

class CListedPluginsReader;
struct CListedPlugin;
struct CPluginListQuery;

class CTolmiraApp : public CSuiteApp
{
public:
    CTolmiraApp();
    ~CTolmiraApp();
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // The plug-ins read for the list while the start made the window, once,
    // when they were read for this query; FALSE otherwise.
    BOOL TakeFirstPlugins(const CPluginListQuery& query, std::vector<CListedPlugin>& rows);

private:
    std::unique_ptr<CListedPluginsReader> m_firstPlugins;
};
