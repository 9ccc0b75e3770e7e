#pragma once

#include "En_PollingMode.h"

namespace En {

// The seam through which tests reach the two marker tests, which in use run only inside the
// polling loop.
struct PollingModeSeam {
    static bool IsComplete(const Port::String& path)
    {
        PollingMode polling;
        return polling.IsCompleteCommandFile(path);
    }
    static bool IsEnd(const Port::String& path)
    {
        PollingMode polling;
        return polling.IsEndCommandFile(path);
    }
};

}  // namespace En
