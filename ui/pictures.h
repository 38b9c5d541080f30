#pragma once

class QCursor;
class QIcon;
class QPixmap;

// The window's pictures, from the program's resources.
namespace pictures {

// The smiley, 32 x 32 and 16 x 16: the window's icon.
QIcon applicationIcon();
// The first frame of the daisies, at its natural size; the picture boxes never animate it.
QPixmap pictureBoxStill();
// The hand of the home-page link, its hot spot at the tip of the raised finger.
QCursor handCursor();

} // namespace pictures
