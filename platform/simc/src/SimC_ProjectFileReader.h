#pragma once

#include "Ipu_IPComponent.h"
#include "Ipu_IPComposite.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_VendorExtensions.h"
#include "Port_StringBase.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QXmlStreamAttributes>
#include <QXmlStreamReader>

#include <boost/shared_ptr.hpp>

#include <initializer_list>
#include <set>

namespace SimC {

// Reads a project configuration file (docs/project-file-format.md) into a new design whose
// members are rebuilt from the catalogue in the element index, or kept bare with what the
// file says when the catalogue lacks their IP. Nothing is registered and no unique id is
// given (DesignRegistry does both). Reentrant: each call has its own state.
class ProjectFileReader {
public:
    // The design, or empty after one warning naming the file, line, column and reason. Once
    // the file is read, each option value it refused gets a warning of its own.
    static boost::shared_ptr<Ipu::IPComposite> ReadFile(const Port::String& file);
    // The same over bytes, without messages: on failure the reason ("line L, column C: why")
    // and an empty design; the refused option values in notes. file names the design's
    // project file (nested designs' paths are relative to its directory).
    static boost::shared_ptr<Ipu::IPComposite> ReadData(const QByteArray& data,
                                                        const Port::String& file, QString& failure,
                                                        QStringList& notes);

private:
    ProjectFileReader(const QByteArray& data, const Port::String& file);

    bool Parse(QString& failure);
    bool ReadRoot();
    bool ReadVersion(const QXmlStreamAttributes& attributes);
    void ReadProject();
    void ReadProperties();
    void ReadOptions(Ipu::VendorExtensions& owner);
    void ReadMembers();
    void ReadComponent();
    void ReadComponentChildren(Ipu::IPComponent& member);
    void ReadParameters(Ipu::Parameters& stored);
    void ReadDesign();

    bool NextChild();
    bool IsChild(const char* name) const;
    bool Once(bool& seen);
    void Unexpected();
    bool CheckAttributes(const QXmlStreamAttributes& attributes,
                         std::initializer_list<const char*> texts,
                         std::initializer_list<const char*> plain);
    bool Text(const QXmlStreamAttributes& attributes, const char* name, Port::String& out);
    bool Flag(const QXmlStreamAttributes& attributes, const char* name, bool& out);
    bool ReadContent(Port::String& out);
    bool AddName(const Port::String& name);
    QString Position() const;

    QXmlStreamReader xml;
    Port::String file;
    Port::String directory;
    boost::shared_ptr<Ipu::IPComposite> design;
    std::set<Port::String> names;
    QStringList notes;
};

}  // namespace SimC
