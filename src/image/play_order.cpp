// SPDX-License-Identifier: MIT
#include "play_order.h"

namespace image {

QList<int> playOrder(int count, bool pingPong)
{
    QList<int> order;
    for (int frame = 0; frame < count; ++frame)
        order.append(frame);
    if (pingPong)
        for (int frame = count - 2; frame >= 1; --frame)
            order.append(frame);
    return order;
}

} // namespace image
