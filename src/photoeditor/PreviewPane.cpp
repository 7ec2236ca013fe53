#include "PreviewPane.h"

#include "EffectTable.h"
#include "PhotoRules.h"
#include "PictureJob.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>

namespace
{

QLabel *frame(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setFixedSize(PreviewPane::PreviewWidth + 4, PreviewPane::PreviewHeight + 4);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::StyledPanel);
    return label;
}

} // namespace

PreviewPane::PreviewPane(const QImage &picture, QWidget *parent) : QWidget(parent)
{
    m_scale = PhotoRules::fitFactor(picture.size(), {PreviewWidth, PreviewHeight});
    m_small = m_scale < 1.0 ? picture.scaled(picture.size() * m_scale, Qt::KeepAspectRatio,
                                             Qt::SmoothTransformation)
                            : picture;
    m_before = frame(QStringLiteral("picBefore"), this);
    m_after = frame(QStringLiteral("picAfter"), this);
    m_before->setPixmap(QPixmap::fromImage(m_small));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_before);
    layout->addWidget(m_after);
}

PreviewPane::~PreviewPane()
{
    // The job writes into this pane's members: stop it before any of them goes.
    if (m_job) {
        m_job->cancel();
        m_job->wait();
    }
}

void PreviewPane::showPreview(const EffectRequest &request)
{
    if (isBusy()) {
        m_waiting = std::make_unique<EffectRequest>(request);
        m_job->cancel();
        return;
    }
    start(request);
}

bool PreviewPane::isBusy() const
{
    return m_job && m_job->isRunning();
}

void PreviewPane::start(const EffectRequest &request)
{
    m_result = QImage();
    m_error.clear();
    // The finished job may be the sender of the signal being handled: delete it later.
    if (m_job)
        m_job.release()->deleteLater();
    const QImage small = m_small;
    const double scale = m_scale;
    m_job = std::make_unique<PictureJob>(
        tr("Preview"), [this, small, request, scale](const ImagingEngine::Cancelled &cancelled) {
            // Only this job's members are written here; the pane reads them after finished().
            EffectTable::apply(small, request, &m_result, &m_error, cancelled, scale);
        });
    connect(m_job.get(), &Job::finished, this, &PreviewPane::finish, Qt::QueuedConnection);
    m_job->start();
}

void PreviewPane::finish()
{
    if (m_waiting) {
        const EffectRequest next = *m_waiting;
        m_waiting.reset();
        start(next);
        return;
    }
    if (!m_result.isNull()) {
        m_shown = m_result;
        const QImage fitted = m_result.width() > PreviewWidth || m_result.height() > PreviewHeight
                                  ? m_result.scaled(PreviewWidth, PreviewHeight,
                                                    Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                  : m_result;
        m_after->setPixmap(QPixmap::fromImage(fitted));
    } else if (!m_error.isEmpty()) {
        m_after->setText(m_error);
        m_after->setWordWrap(true);
    }
    Q_EMIT previewShown(m_error);
}
