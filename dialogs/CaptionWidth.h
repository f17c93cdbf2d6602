#pragma once

class QString;
class QWidget;

// Window managers cut a caption that is wider than its window. These give a
// small window the width its caption needs in the title bar.
namespace dialogs {

// The width a window needs to show `caption` whole: the caption in a bold
// font, as title bars often draw it, beside the title bar's icon and buttons.
int CaptionWidth(const QString& caption);

// Makes the window at least as wide as its caption needs.
void ReserveCaptionWidth(QWidget& window);

}  // namespace dialogs
