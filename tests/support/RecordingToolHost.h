#pragma once

#include "ToolHost.h"

#include <QList>

// Stands in for the main window: records the current-tool caption and every window asked for,
// and answers openTool with `answer`.
class RecordingToolHost final : public ToolHost
{
public:
    struct Opened {
        QString name;
        QString file;
        bool outer = false;
    };

    RecordingToolHost() { ToolHost::install(this); }
    ~RecordingToolHost() override { ToolHost::install(nullptr); }

    QWidget *openTool(const QString &name, const ToolRequest &request) override
    {
        opened.append({name, request.file, request.outer});
        return answer;
    }
    void setToolCaption(const QString &caption) override { this->caption = caption; }
    void showNavigation() override { ++navigationShown; }

    QString caption;
    QList<Opened> opened;
    QWidget *answer = nullptr;
    int navigationShown = 0;
};
