#pragma once

#include <QtGlobal>

// The pictures live in a static library, whose resource initialiser the linker drops
// unless something refers to it: every program and test that draws them calls this once.
inline void zorvaInitResources()
{
    Q_INIT_RESOURCE(resources);
}
