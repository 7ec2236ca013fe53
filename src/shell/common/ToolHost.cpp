#include "ToolHost.h"

namespace {
ToolHost *g_host = nullptr;
}

ToolHost *ToolHost::instance()
{
    return g_host;
}

void ToolHost::install(ToolHost *host)
{
    g_host = host;
}
