#pragma once

#include "core/fontimage.h"
#include "formats/textline.h"
#include "platform/services.h"

#include <QByteArray>
#include <QImage>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// A line of typed text drawn with the font, beside the main window: each character its code in
// the chosen character set, each code its 8 x 8 cell side by side, as the companion's render
// draws it. The owner hands it every change of the font.
class TextPreviewWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit TextPreviewWindow(const Services &services, QWidget *parent);

    void setGlyphs(const FontImage &font);
    // The line as drawn now, or a null image when there is nothing to draw.
    QImage picture() const { return m_picture; }
    // The same line as a PNG, the companion's render bytes for the same text, set and scale.
    QByteArray png() const;

private:
    void redraw();
    void copy();
    void save();

    Services m_services;
    FontImage m_font {};
    TextCodes m_codes;
    QImage m_picture;
    QLineEdit *m_text = nullptr;
    QComboBox *m_charset = nullptr;
    QSpinBox *m_scale = nullptr;
    QLabel *m_view = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_copy = nullptr;
    QPushButton *m_save = nullptr;
};
