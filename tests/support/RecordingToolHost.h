#pragma once

#include "ToolHost.h"

// Stands in for the main window and records the current-tool caption.
class RecordingToolHost final : public ToolHost
{
public:
    RecordingToolHost() { ToolHost::install(this); }
    ~RecordingToolHost() override { ToolHost::install(nullptr); }

    QWidget *openTool(const QString &, const ToolRequest &) override { return nullptr; }
    void setToolCaption(const QString &caption) override { this->caption = caption; }
    void showNavigation() override {}

    QString caption;
};
