#pragma once

#include "charbitmap.h"
#include "services.h"

#include <QMainWindow>

#include <array>

class DetailsPanel;
class FontChar;

// The editor's one window: owns the palette of 256 glyph cells, the pixel editor panel and
// the menu, and the state they share: the selection, the current file name and the copy buffer.
class frmMain final : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(const Services &services, QWidget *parent = nullptr);

    int SelectedIndex() const { return m_SelectedIndex; }
    QString CurrentFileName() const { return m_CurrentFileName; }
    CharBitMap CopyBuffer() const { return m_CopyBuffer; }
    FontChar *SelFontChar(int index) const { return m_SelFontChar.at(index); }
    DetailsPanel *detailsPanel() const { return m_DetailsPanel; }

private:
    void createMenus();
    void Form_Load();

    void SelFontChar_GotFocus(int Index);
    void btnOK_Click();
    void btnClear_Click();
    void btnInvert_Click();
    void btnCopy_Click();
    void btnPaste_Click();

    Services m_services;
    QWidget *m_client = nullptr;
    DetailsPanel *m_DetailsPanel = nullptr;
    std::array<FontChar *, CharacterCount> m_SelFontChar{};

    int m_SelectedIndex = -1;
    QString m_CurrentFileName;
    CharBitMap m_CopyBuffer{};
};
