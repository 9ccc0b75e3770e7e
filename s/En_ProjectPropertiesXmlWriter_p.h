#pragma once

#include <vector>

#include "En_ProjectPropertiesXmlWriter.h"

namespace En {

// The seam through which tests write a property block of texts of their own choosing:
// the core's value lists hold no character that XML must escape, so only this way can a
// test see the escaping reach the file.
struct ProjectPropertiesXmlWriterSeam {
    struct Property {
        Port::String key;
        Port::String dependency;
        Port::String comment;
        Port::String description;
        std::vector<Port::String> values;
    };

    // The whole file is the one block, written through the writer's own line writers and
    // put in place as Write does; false when it could not be.
    static bool WriteProperty(const Port::String& path, Property property)
    {
        ProjectPropertiesXmlWriter writer;
        if (!writer.Open(path))
            return false;
        writer.WriteStartProperty();
        writer.WriteKey(property.key);
        writer.WriteDependency(property.dependency);
        writer.WriteComment(property.comment);
        writer.WriteDescription(property.description);
        writer.WriteValueList(property.values);
        writer.WriteEndProperty();
        return writer.Commit();
    }
};

}  // namespace En
