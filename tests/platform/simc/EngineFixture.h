#pragma once

#include "CitP_Factory.h"
#include "CitP_Ref.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "Ipu_IPComposite.h"
#include "SimC_IDesignManager.h"
#include "SimC_IProjectManager.h"
#include "SimC_IRepositoryManager.h"
#include "SimC_Identifiers.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <boost/pointer_cast.hpp>
#include <boost/shared_ptr.hpp>

#include <initializer_list>
#include <utility>

// One engine object, made by the real factory from the real module, with its interfaces.
struct Engine {
    CitP::Ref<SimC::IRepositoryManager> repository;
    CitP::Ref<SimC::IProjectManager> projects;
    CitP::Ref<SimC::IDesignManager> designs;

    static Engine make()
    {
        Engine engine;
        if (CitP::Factory::LoadLibraryFactory(SimC::ENGINE_LIBRARY) != 0)
            return engine;
        const CitP::Ref<CitP::Interface> object =
            CitP::Factory::CreateInstanceRef(SimC::CLSID_CIPEngine);
        engine.repository = object.Query<SimC::IRepositoryManager>();
        engine.projects = object.Query<SimC::IProjectManager>();
        engine.designs = object.Query<SimC::IDesignManager>();
        return engine;
    }
    bool complete() const { return repository && projects && designs; }
};

inline Port::String P(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return Port::String(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

inline QString Q(const Port::String& text)
{
    return QString::fromUtf8(text.c_str(), static_cast<qsizetype>(text.GetLength()));
}

inline boost::shared_ptr<Ipu::IPComposite> Design(const Port::String& id)
{
    return boost::dynamic_pointer_cast<Ipu::IPComposite>(Ipu::ElementIndex::GetElement(id));
}

inline boost::shared_ptr<Ipu::IPComponent> Member(const Port::String& id)
{
    return boost::dynamic_pointer_cast<Ipu::IPComponent>(Ipu::ElementIndex::GetElement(id));
}

// A catalogue entry as the catalogue loader registers it: unique id = unconfigured id = key.
inline boost::shared_ptr<Ipu::IPComponent> AddCatalogueEntry(
    const char* key, std::initializer_list<std::pair<const char*, const char*>> parameters)
{
    boost::shared_ptr<Ipu::IPComponent> entry(new Ipu::IPComponent);
    Ipu::VersionedIdentifier identifier;
    Ipu::VersionedIdentifier::FromKey(key, identifier);
    entry->SetIdentifier(identifier);
    entry->SetName(identifier.GetName());
    entry->SetDisplayName(identifier.GetName() + " (catalogue)");
    entry->SetDescription("from the catalogue");
    entry->SetUniqueID(key);
    entry->SetUnconfiguredID(key);
    for (const auto& [name, value] : parameters)
        entry->GetParameters().Add({name, value, "int", {}, "0", "1024"});
    Ipu::ElementIndex::AddElement(entry);
    return entry;
}

inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}
