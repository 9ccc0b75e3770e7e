#pragma once

#include "Ipu_IPComponent.h"
#include "Ipu_ProjectOptions.h"

#include <QString>

namespace SimC {

// The customized IP file (<name>.gtc): batch commands that select the catalogue IP, give
// it its name and values under the project's options, and generate it. The format is in
// docs/customized-ip-file.md. Nothing in it depends on the time of writing, so the same
// customization always gives the same file.
class GtcWriter {
public:
    GtcWriter() = delete;

    // false with the reason when a name or value cannot be written on one line (a control
    // character), or a name would not read back as one word.
    static bool Write(const Ipu::IPComponent& ip, const Ipu::ProjectOptions& options, QString& out,
                      QString& reason);

    // A value as one argument: in double quotes, with " and \ escaped by a backslash, when
    // it is empty or holds a blank, a double quote or a backslash; otherwise as it is.
    static QString Argument(const QString& value);
};

}  // namespace SimC
