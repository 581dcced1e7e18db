#pragma once

#include <QByteArray>

namespace stipplor {

// All of standard input, for the INPUT "-". Throws PictureError naming the cause.
QByteArray ReadStandardInput();

}  // namespace stipplor
