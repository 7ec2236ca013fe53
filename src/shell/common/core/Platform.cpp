#include "Platform.h"

#include "DesktopPlatform.h"

#include <memory>

namespace {

std::unique_ptr<Platform> &current()
{
    static std::unique_ptr<Platform> platform;
    return platform;
}

} // namespace

Platform &Platform::instance()
{
    if (!current())
        current() = std::make_unique<DesktopPlatform>();
    return *current();
}

void Platform::install(Platform *platform)
{
    current().reset(platform);
}
