#pragma once

#include "ColorEffectDialog.h"
#include "PhotoRules.h"
#include "PictureDocument.h"
#include "PicturePainter.h"

#include <QMainWindow>

class PictureView;
class QActionGroup;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QSlider;
class QTimer;
class ToolStrip;

// The Photo Editor: one picture, changed by the tools of its main tool bar (SSActiveToolBars1),
// drawn on with the drawing tool bar (SSActiveToolBars2), adjusted with the sliders of the
// effects panel, zoomed and saved. Pixel work is in photoeditor_core: effects run as jobs
// through EffectTable, files through PictureFile, and every change can be undone.
//
// Split by concern: this file builds the window and shows the picture, _Tools runs the tool
// ids, _Drawing handles the drawing tools on the view.
class FormAllFunc : public QMainWindow
{
    Q_OBJECT
public:
    explicit FormAllFunc(QWidget *parent = nullptr);
    ~FormAllFunc() override;

    // Opens a picture file (the hand-over from other windows uses it); false when it could not
    // be opened, after saying why.
    bool openPicture(const QString &path);

    const PictureDocument &document() const { return m_document; }
    bool isSaved() const { return m_saved; }
    QString drawTool() const { return m_drawTool; }
    const PicturePainter::Pen &pen() const { return m_pen; }
    PictureView *view() const { return m_view; }

    static constexpr int RubberBandMinimum =
        10;                             // "RBand" with 10, 10: smaller drags select nothing
    static constexpr int SpinStep = 10; // degrees per tick of Timer1

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // FormAllFunc.cpp: the window and the picture shown.
    void buildMainTools();
    QMenu *buildEditMenu();
    QMenu *buildTransformMenu();
    void buildDrawTools();
    QFrame *buildEffectsPanel();
    void buildStatusBar();
    QMenu *popup(const QString &name);
    QAction *menuTool(ToolStrip *strip, QMenu *menu, const QString &id, const QString &text,
                      const QString &icon = QString());
    QAction *dropDown(ToolStrip *strip, const QString &id, const QString &text, const QString &icon,
                      QMenu *menu, bool split);
    QSlider *adjustSlider(const QString &name, PhotoRules::Slider slider);
    QPushButton *panelButton(const QString &name, const QString &text, const QString &icon);
    void setPictureToolsEnabled(bool enabled);
    void showPicture();
    void applyZoom();
    void setSliders(int bright, int contrast, int sharpen);
    void report(int errorNumber, const QString &detail = QString());
    void tellDropped(int dropped);
    void closeWindow();

    // FormAllFunc_Tools.cpp: the tool ids.
    void runMainTool(const QString &id);
    void runDrawTool(const QString &id);
    bool runPictureCommand(const QString &id);
    bool runSharedTool(const QString &id);
    bool applyEffect(const EffectRequest &request);
    void openEffects(const QString &heading);
    void openColorEffect(ColorEffectDialog::Choice choice);
    void openSaveWindow(bool compressed, const QString &type = QString());
    bool saveTo(const QString &path, const PictureFile::Options &options);
    void save();
    void reset();
    void openFromPicker();
    void copy();
    void paste();
    void capture();
    void resizeTo();
    void stampDate();
    void spinTick();
    void undo(bool back);
    void sliderMoved(PhotoRules::Slider slider, int value);
    void showPanel(bool effects);

    // FormAllFunc_Drawing.cpp: the drawing tools on the view.
    void chooseDrawTool(const QString &tool);
    void chooseDrawMode(int index);
    void chooseColour();
    void setBrushColor(const QColor &color);
    void updateCursor();
    void viewPressed(QPoint at);
    void viewMoved(QPoint at, bool buttonDown);
    void viewReleased(QPoint at);
    void placeText(QPoint at);
    void textTyped(const QString &text);
    void finishText();

    PictureDocument m_document;
    bool m_saved = false;
    bool m_closing = false;
    QString m_drawTool = QStringLiteral("Pointer");
    PicturePainter::Pen m_pen;
    int m_previous[3] = {50, 50, 1}; // HSBright, HSContrast, HSSharpen as last seen
    int m_spinAngle = 0;
    QSize m_pictureArea; // the picture area's size when the window opened

    // Drawing in progress.
    bool m_stroking = false;
    QPoint m_start;
    QPoint m_last;
    QPoint m_textAt;
    QFont m_textFont;
    QRect m_textRect;

    ToolStrip *m_main = nullptr; // SSActiveToolBars1
    ToolStrip *m_draw = nullptr; // SSActiveToolBars2
    QMenu *m_drawMenu = nullptr; // Draw1
    QActionGroup *m_drawTools = nullptr;
    QActionGroup *m_widths = nullptr;
    QComboBox *m_drawMode = nullptr;     // ID_DrawMode
    QLabel *m_brushColor = nullptr;      // lblBrushColor
    QScrollArea *m_area = nullptr;       // the picture area
    PictureView *m_view = nullptr;       // Xpress1
    QLineEdit *m_text = nullptr;         // txtText
    QFrame *m_effects = nullptr;         // fraEffects
    QSlider *m_sliders[3] = {};          // HSBright, HSContrast, HSSharpen
    QSlider *m_zoom = nullptr;           // HSZoom
    QLabel *m_zoomLabel = nullptr;       // lblZoom
    QLabel *m_status = nullptr;          // lblStatus
    QLabel *m_fileName = nullptr;        // lblFileName
    QLabel *m_date = nullptr;            // lblDate
    QList<QPushButton *> m_hoverButtons; // ssfl, ssmi, ssrotate
    QTimer *m_timer = nullptr;           // Timer1
};
