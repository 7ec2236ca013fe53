#pragma once

#include "Effect.h"

#include <QImage>
#include <QWidget>

#include <memory>

class PictureJob;
class QLabel;

// Before and after pictures of an effect on a copy of the picture scaled down to fit the pane.
// Each preview is made by a job on a thread of its own, so the window never waits; a request
// made while one runs replaces any waiting request and is made next.
class PreviewPane : public QWidget
{
    Q_OBJECT
public:
    PreviewPane(const QImage &picture, QWidget *parent = nullptr);
    ~PreviewPane() override;

    void showPreview(const EffectRequest &request);
    bool isBusy() const;
    // The preview shown last; null before the first.
    QImage shown() const { return m_shown; }
    // The scale of the preview copy to the picture (1 when the picture is small).
    double scale() const { return m_scale; }

    static constexpr int PreviewWidth = 280;
    static constexpr int PreviewHeight = 210;

Q_SIGNALS:
    // A preview was made and shown (or failed: error is then its reason).
    void previewShown(const QString &error);

private:
    void start(const EffectRequest &request);
    void finish();

    QImage m_small;
    double m_scale = 1.0;
    QLabel *m_before = nullptr; // picBefore
    QLabel *m_after = nullptr;  // picAfter
    std::unique_ptr<PictureJob> m_job;
    std::unique_ptr<EffectRequest> m_waiting;
    QImage m_result;
    QString m_error;
    QImage m_shown;
};
