#pragma once

#include "Ipu_Generator.h"
#include "Ipu_GeneratorChain.h"
#include "Ipu_IPComponent.h"

#include <QString>
#include <QStringView>
#include <QXmlStreamReader>

#include <optional>
#include <utility>
#include <vector>

namespace Sim {

// Reads our gantrel:ip vendor extension into a component. Strict on purpose: a value the
// format does not allow raises an error on the stream reader (a custom error, so the
// caller can tell it from malformed XML), and a typing error in a catalogue shows when it
// loads rather than when a user runs the IP. Elements of other namespaces are skipped.
class ExtensionReader {
public:
    ExtensionReader(QXmlStreamReader& xml, Ipu::IPComponent& component);

    // Reads the element the stream stands on; false after raising an error.
    bool Read();
    QString GetDisplayName() const { return displayName; }
    // The families as written, each with the line it is on, for the caller's checks.
    const std::vector<std::pair<QString, qint64>>& GetFamilyLines() const { return familyLines; }

private:
    bool ReadChild();
    bool ReadIPType();
    bool ReadLifeCycle();
    bool ReadFamilies();
    bool ReadFamily();
    bool ReadProperties();
    bool ReadChains();
    bool ReadChain();
    bool ReadChainChild(Ipu::GeneratorChain& chain, unsigned& step);
    bool ReadChainProperty(Ipu::GeneratorChain& chain);
    bool ReadGenerator(Ipu::GeneratorChain& chain, unsigned step);
    boost::shared_ptr<Ipu::Generator> SharedStep(const QString& name, double phase,
                                                 const QString& kind);
    bool CheckChain(const Ipu::GeneratorChain& chain);
    bool AddChain(const boost::shared_ptr<Ipu::GeneratorChain>& chain);

    bool NextChild();
    QString Text();
    std::optional<QString> Attribute(QStringView name) const;
    bool Fail(const QString& message);

    QXmlStreamReader& xml;
    Ipu::IPComponent& component;
    QString displayName;
    std::vector<std::pair<QString, qint64>> familyLines;
    struct Step {
        QString name;
        double phase;
        QString kind;
        boost::shared_ptr<Ipu::Generator> generator;
    };
    std::vector<Step> steps;
};

}  // namespace Sim
