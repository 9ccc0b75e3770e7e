#pragma once

#include <QString>

namespace Gui {
namespace Clip {

// Shows topics of the tool's help: a help map file (lines "topic-id = page.html") under
// the help directory names the page of each topic, which the desktop's browser opens.
class HelpManager {
public:
    enum TopicPrefix { NoPrefix = 0, DialogPrefix = 1 };

    // The help manager of the installed help (Sim::DataLocation::DataDirectory()/help, or
    // GANTREL_HELP_DIR); null when no help map is installed there.
    static HelpManager* getInstance();

    // Opens the page of topic in map (a file name in the help directory). False when the
    // map or the topic is unknown or the browser could not be started.
    bool showHelpTopic(const QString& map, const QString& topic, TopicPrefix prefix);
    // The page a topic maps to, as a local URL; empty when unknown.
    QString pageOf(const QString& map, const QString& topic) const;

private:
    explicit HelpManager(QString directory);
    QString directory;
};

}  // namespace Clip
}  // namespace Gui
