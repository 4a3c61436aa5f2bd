#pragma once

#include <QIcon>
#include <QPixmap>

namespace tarvellite::ui {

/// The ribbon's picture of command `id` (drawn, in sizes for small and large buttons and for
/// high-density screens); a plain lettered tile for commands without a picture of their own.
QIcon commandIcon(int id);

/// The picture of the application button, `size` pixels square.
QPixmap applicationButtonPicture(int size);

} // namespace tarvellite::ui
