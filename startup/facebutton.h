#pragma once
// A push button painted in its own face colour, with a raised 3D edge and a caption that wraps at
// blanks. Qt's styles either shade the face with a gradient or, through a style sheet, flatten the
// whole button; neither wraps a caption that is wider than the button.

#include <QColor>
#include <QPushButton>

namespace tavoro {

class FaceButton : public QPushButton {
    Q_OBJECT

public:
    FaceButton(const QString& caption, QColor face, QWidget* parent = nullptr);

    QColor face() const { return m_face; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_face;
};

} // namespace tavoro
