#include "ToolRegistry.h"

#include <algorithm>

namespace
{

// Filled by static registrations before main(): constructed on first use.
QList<ToolRegistry::Tool> &tools()
{
    static QList<ToolRegistry::Tool> list;
    return list;
}

template <typename Match> ToolRegistry::Tool findIf(Match match)
{
    const QList<ToolRegistry::Tool> &list = tools();
    const auto it = std::find_if(list.cbegin(), list.cend(), match);
    return it == list.cend() ? nullptr : *it;
}

} // namespace

void ToolRegistry::add(ToolDescription tool)
{
    remove(tool.name);
    tools().append(std::make_shared<const ToolDescription>(std::move(tool)));
}

void ToolRegistry::remove(const QString &name)
{
    tools().removeIf([&name](const Tool &tool) { return tool->name == name; });
}

ToolRegistry::Tool ToolRegistry::find(const QString &name)
{
    return findIf([&name](const Tool &tool) { return tool->name == name; });
}

ToolRegistry::Tool ToolRegistry::findByKey(const QString &key)
{
    return findIf([&key](const Tool &tool) { return tool->keys.contains(key); });
}

ToolRegistry::Tool ToolRegistry::findByCommand(const QString &id)
{
    return findIf([&id](const Tool &tool) {
        return std::any_of(tool->commands.cbegin(), tool->commands.cend(),
                           [&id](const ToolDescription::Command &c) { return c.id == id; });
    });
}

QList<ToolRegistry::Tool> ToolRegistry::all()
{
    QList<Tool> list = tools();
    std::stable_sort(list.begin(), list.end(),
                     [](const Tool &a, const Tool &b) {
                         return std::pair(a->section, a->order) < std::pair(b->section, b->order);
                     });
    return list;
}
