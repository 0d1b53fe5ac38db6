#pragma once

#include <QString>

// The user guide, the README's part for users, installed beside the licence. It opens in the
// desktop's browser; where it is missing, a notification says where it was looked for.
class UserGuide final
{
public:
    // The installed guide, else the build's; empty when neither exists.
    static QString path();
    static void open();
};
