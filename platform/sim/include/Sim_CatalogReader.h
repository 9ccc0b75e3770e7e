#pragma once

#include "Ipu_IPComponent.h"
#include "Port_StringBase.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QXmlStreamReader>

#include <boost/shared_ptr.hpp>

#include <vector>

namespace Sim {

// Reads one IP-XACT component (1685-2009, 2014 or 2022) with our vendor extensions into a
// catalogue IPComponent, whose unique id and unconfigured id are both its VLNV key. What
// is taken from where is in docs/catalog-format.md. A component without our extensions
// gets the default chain set (CatalogFormat::AddDefaultChains). Reentrant: each call has
// its own state.
class CatalogReader {
public:
    // 0 with the component, or 1 with the reason the file cannot be used: it cannot be
    // read or is not a regular file, is larger than CatalogFormat::MAX_FILE_SIZE, holds
    // binary data, is malformed XML (line and column given), is not a component, lacks
    // part of its VLNV, or carries an invalid extension (line given).
    static unsigned ReadFile(const Port::String& path, boost::shared_ptr<Ipu::IPComponent>& out,
                             Port::String& reason);
    // The same over bytes in memory. sourceFile is recorded in the component (its data
    // sheet is relative to that file's directory) and may be empty.
    static unsigned ReadData(const QByteArray& data, const Port::String& sourceFile,
                             boost::shared_ptr<Ipu::IPComponent>& out, Port::String& reason);

private:
    // Texts as written, resolved into an Ipu parameter once the whole file is read
    // (choices may come after the parameters that name them).
    struct PendingParameter {
        QString name;
        QString value;
        QString type;
        QString minimum;
        QString maximum;
        QString id;
        QString choiceRef;
    };

    CatalogReader(const QByteArray& data, const Port::String& sourceFile);

    bool Parse(QString& reason);
    bool ReadRoot(QString& reason);
    void ReadComponent();
    void ReadComponentChild();
    void ReadParameters(std::vector<PendingParameter>& list, QStringView item);
    void ReadParameter(std::vector<PendingParameter>& list);
    void ReadAttributes(PendingParameter& pending) const;
    void ReadModel();
    void ReadInstantiation();
    void ReadChoice();
    void ReadFileSet();
    void ReadVendorExtensions();
    QString ErrorReason() const;
    bool Finish(QString& reason);
    void BuildParameters();
    Ipu::Parameters::Parameter Resolve(const PendingParameter& pending) const;

    bool NextChild();
    QString Text();

    QXmlStreamReader xml;
    QString ns;
    Port::String sourceFile;
    boost::shared_ptr<Ipu::IPComponent> component;
    QString vendor;
    QString library;
    QString name;
    QString version;
    QString displayName;
    QString description;
    QString extensionDisplayName;
    bool hasExtension = false;
    std::vector<PendingParameter> parameters;
    std::vector<PendingParameter> modelParameters;
    QHash<QString, QStringList> choices;
};

}  // namespace Sim
