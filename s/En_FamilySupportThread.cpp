#include "En_FamilySupportThread.h"

#include "Sim_IPMgr.h"

namespace En {

FamilySupportThread::FamilySupportThread() : QThread(nullptr) {}

// Destroying a running QThread aborts the program; when the library unloads during a
// refresh, the refresh is let to finish instead.
FamilySupportThread::~FamilySupportThread()
{
    if (isRunning())
        wait();
}

void FamilySupportThread::run()
{
    if (Sim::IPMgr* manager = Sim::IPMgr::GetInstance())
        manager->RefreshFamilyCache();
}

}  // namespace En
