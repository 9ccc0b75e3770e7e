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

#include <utility>
#include <vector>

namespace Sim {

// Reads one IP-XACT component (1685-2009, 2014 or 2022) with our vendor extensions into a
// catalogue IPComponent, whose unique id and unconfigured id are both its VLNV key. What
// is taken from where is in docs/catalog-format.md. A component without our extensions
// gets the default chain set (CatalogFormat::AddDefaultChains). Reentrant: each call has
// its own state.
class CatalogReader {
public:
    // A mistake that leaves the component usable: a parameter default outside its choices
    // or range, a minimum above the maximum, a choiceRef to no choice, a family the device
    // database does not hold, a version that is not numeric.
    struct Warning {
        unsigned line;
        Port::String text;
    };

    // 0 with the component; 2 when the file is an IP-XACT catalog document (which names
    // component files; CatalogLoader follows them), with a reason saying so; or 1 with the
    // reason the file cannot be used: it cannot be read or is not a regular file, is
    // larger than CatalogFormat::MAX_FILE_SIZE, holds binary data, is malformed XML (line
    // and column given), is not a component, lacks part of its VLNV, has a name that
    // cannot name output files, or carries an invalid extension (line given). The warnings
    // are collected only where the caller asks for them; the family check needs the
    // device database and is left out while it is empty.
    static unsigned ReadFile(const Port::String& path, boost::shared_ptr<Ipu::IPComponent>& out,
                             Port::String& reason);
    static unsigned ReadFile(const Port::String& path, boost::shared_ptr<Ipu::IPComponent>& out,
                             Port::String& reason, std::vector<Warning>& warnings);
    // The same over bytes in memory. sourceFile is recorded in the component (its data
    // sheet is relative to that file's directory) and may be empty.
    static unsigned ReadData(const QByteArray& data, const Port::String& sourceFile,
                             boost::shared_ptr<Ipu::IPComponent>& out, Port::String& reason);
    static unsigned ReadData(const QByteArray& data, const Port::String& sourceFile,
                             boost::shared_ptr<Ipu::IPComponent>& out, Port::String& reason,
                             std::vector<Warning>& warnings);

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
        QString displayName;
        qint64 line = 0;
    };
    struct Choice {
        QStringList values;
        QStringList labels;
    };
    enum class Outcome { Component, CatalogDocument, Refused };

    CatalogReader(const QByteArray& data, const Port::String& sourceFile,
                  std::vector<Warning>* warnings);
    static unsigned Read(const Port::String& path, boost::shared_ptr<Ipu::IPComponent>& out,
                         Port::String& reason, std::vector<Warning>* warnings);
    static unsigned Read(const QByteArray& data, const Port::String& sourceFile,
                         boost::shared_ptr<Ipu::IPComponent>& out, Port::String& reason,
                         std::vector<Warning>* warnings);

    Outcome Parse(QString& reason);
    Outcome ReadRoot(QString& reason);
    QString WrongRoot();
    bool ReadToEnd(QString& reason);
    void ReadComponent();
    void ReadComponentChild();
    void ReadParameters(std::vector<PendingParameter>& list, QStringView item);
    void ReadParameter(std::vector<PendingParameter>& list);
    void ReadAttributes(PendingParameter& pending) const;
    void ReadModel();
    void ReadInstantiation();
    void ReadPort();
    void ReadWire(Ipu::IPComponent::ModelPort& port);
    void ReadVector(Ipu::IPComponent::ModelPort& port);
    void ReadChoice();
    void ReadFileSet();
    void ReadVendorExtensions();
    QString ErrorReason() const;
    bool Finish(QString& reason);
    bool CheckName(QString& reason) const;
    void BuildParameters();
    Ipu::Parameters::Parameter Resolve(const PendingParameter& pending);
    void CheckValue(const PendingParameter& pending, const QStringList& allowed);
    void CheckVersion();
    void CheckFamilies(const std::vector<std::pair<QString, qint64>>& families);
    void Warn(qint64 line, const QString& text);

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
    qint64 nameLine = 0;
    qint64 versionLine = 0;
    QString displayName;
    QString description;
    QString extensionDisplayName;
    bool hasExtension = false;
    std::vector<PendingParameter> parameters;
    std::vector<PendingParameter> modelParameters;
    QHash<QString, Choice> choices;
    std::vector<Warning>* warnings;  // null: not collected
};

}  // namespace Sim
