#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <boost/shared_ptr.hpp>
#include <utility>

namespace Ipu {
class IPComponent;
}

// Small IP-XACT 2014 components with our extensions, read by the real catalogue reader.
namespace TestCatalog {

struct Chain {
    explicit Chain(QString task) : task(std::move(task)) {}
    Chain& withIpType(const QString& value)
    {
        ipType = value;
        return *this;
    }
    // The identifier's name (vendor "pellor", library "generatorchains", version "1.0").
    Chain& withIdentifier(const QString& value)
    {
        identifier = value;
        return *this;
    }
    Chain& withGroups(const QStringList& value)
    {
        groups = value;
        return *this;
    }

    QString task;            // the chain's name: a task name
    QString ipType = "any";  // any, customized, uncustomized
    QString familyDependent = "independent";
    QStringList groups;
    QString identifier;  // empty: "<task>_chain"
};

struct Component {
    explicit Component(QString name) : name(std::move(name)) {}
    Component& withVersion(const QString& value)
    {
        version = value;
        return *this;
    }
    Component& withDisplayName(const QString& value)
    {
        displayName = value;
        return *this;
    }
    Component& withDescription(const QString& value)
    {
        description = value;
        return *this;
    }
    Component& withLifeCycle(const QString& value)
    {
        lifeCycle = value;
        return *this;
    }
    Component& withFamilies(const QStringList& value)
    {
        families = value;
        return *this;
    }
    Component& withProperty(const QString& key, const QString& value)
    {
        properties.append({key, value});
        return *this;
    }
    Component& withIpType(int value)
    {
        ipType = value;
        return *this;
    }
    Component& withDataSheet(const QString& value)
    {
        dataSheet = value;
        return *this;
    }
    Component& withChain(const Chain& value)
    {
        chains.append(value);
        return *this;
    }

    QString name;
    QString version = "1.0";
    QString displayName;
    QString description;
    QString lifeCycle = "production";
    QStringList families;  // none: family-independent
    QList<QPair<QString, QString>> properties;
    int ipType = 1;
    QString dataSheet;
    QList<Chain> chains;
};

QByteArray toXml(const Component& component);
// Reads the component; an empty pointer (and a warning naming the reason) on failure.
boost::shared_ptr<Ipu::IPComponent> read(const Component& component);
// Reads the component and adds it to the element index, as the catalogue loader does.
boost::shared_ptr<Ipu::IPComponent> load(const Component& component);
// A customized configuration of a catalogue component, registered in the element index.
boost::shared_ptr<Ipu::IPComponent> customize(const boost::shared_ptr<Ipu::IPComponent>& ip,
                                              const QString& name);

}  // namespace TestCatalog
