#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>

#include "En_EndWatchThread.h"
#include "En_Global.h"
#include "En_ProjectManager.h"
#include "Sim_DataLocation.h"
#include "TestDevices.h"
#include "TestFiles.h"

TestEnvironment::TestEnvironment()
{
    // In test mode Qt keeps settings under $HOME/.qttest: both point into the directory.
    qputenv("HOME", root.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", root.filePath("config").toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    TestFiles::write(root.filePath("devices.json"), TestDevices::json());
    QDir().mkpath(catalogDirectory());
    Sim::DataLocation::SetDeviceDatabaseFile(root.filePath("devices.json").toStdString());
    Sim::DataLocation::SetCatalogDirectories({catalogDirectory().toStdString()});
    Sim::DataLocation::SetDefaultCatalogUsed(false);
    En::Global::_batchCommandRuntimeOptions.EnableBatchMode(true);
    En::EndWatchThread::Start();
}

void TestEnvironment::addToCatalog(const QString& fileName, const QByteArray& xml) const
{
    TestFiles::write(QDir(catalogDirectory()).filePath(fileName), xml);
}

void TestEnvironment::useShippedData()
{
    Sim::DataLocation::SetDefaultCatalogUsed(true);
    Sim::DataLocation::SetDeviceDatabaseFile(Sim::DataLocation::DataDirectory() +
                                             "/devices/devices.json");
}

bool TestEnvironment::waitForCatalog()
{
    QSignalSpy refreshed(En::ProjectManager::GetInstance(),
                         &En::ProjectManager::RepositoryRefreshed);
    return refreshed.wait(5000);
}
