#include "En_ImportedIpFile.h"

#include "Ipu_Command.h"
#include "Ipu_DebugMessengerFactory.h"
#include "Ipu_IP.h"
#include "Ipu_LegacyIP.h"
#include "Ipu_Parameters.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_Task.h"
#include "Ipu_Utilities.h"
#include "Port_Env.h"
#include "Port_File.h"
#include "Port_FileName.h"
#include "Port_Process.h"
#include "Sim_CommandBuilder.h"
#include "Sim_CommandExecutor.h"
#include "Sim_SyvInfoHandler.h"

namespace En::ImportedIpFile {

namespace {

bool HasExtension(const Port::String& path, const char* extension)
{
    const std::string& text = path.str();
    const std::size_t length = std::char_traits<char>::length(extension);
    return text.size() >= length &&
           Port::String(text.substr(text.size() - length))
                   .Compare(Port::String(extension), Port::CompareIgnoreCase) == 0;
}

// The file's commands are only read: selecting the IP and setting its values and
// options, never generating or opening a project.
unsigned FromCommandFile(const Ipu::RuntimeOptions& options, const Port::String& absolute,
                         Ipu::CustomizedIP& out)
{
    const Ipu::RuntimeOptions runtime(options);
    Sim::CommandBuilder builder(runtime);
    Sim::CommandExecutor executor(runtime);
    if (builder.AddCommandFile(absolute) != 0 ||
        executor.Execute(builder.GetCommands(), true, false) != 0 || !executor.GetIPComponent())
        return 1;
    const Ipu::Parameters parameters = executor.GetParameters();
    const Ipu::IP ip(executor.GetIPComponent());
    Port::String name;
    long long time = 0;
    if (ip.GetName(name) != 0 || parameters.Size() == 0 ||
        !Port::File::getdatetime(absolute, time) || out.SetIP(ip) != 0 ||
        out.SetParameters(parameters) != 0 ||
        out.SetProjectOptions(executor.GetProjectOptions()) != 0 || out.SetTime(time) != 0)
        return 1;
    bool valid = true;
    if (Ipu::Utilities::ValidateFileChecksum(absolute, valid) == Ipu::Utilities::CHECKSUM_OK)
        return out.SetFileModifiedByUser(!valid);
    return 0;
}

unsigned FromSyvFile(const Port::String& path, Ipu::CustomizedIP& out)
{
    Port::String name;
    Port::String version;
    long long time = 0;
    RunSyvInfo(path, name, version, time);
    Ipu::LegacyIP legacy(name, version, "<empty>", "Sylvane", {"<empty>"}, {"<empty>"}, 0);
    legacy.SetProperty(Ipu::LegacyIP::CUSTOMIZER, "sylv");
    Ipu::Task recustomize("recustomize", "Recustomize", true, 0, 0, 1);
    recustomize.AddCommand(Ipu::Command("recustomize", 0));
    legacy.AddTask(recustomize);
    out.SetIP(Ipu::IP(legacy));
    out.SetTime(time);
    out.GetIPComponent()->SetName(Port::FileName(path).GetBase());
    Ipu::Parameters parameters;
    Ipu::Parameters::Parameter file;
    file.name = "syvfilename";
    file.value = path;
    parameters.Add(file);
    out.SetParameters(parameters);
    return out.SetProjectOptions(Ipu::ProjectOptions());
}

}  // namespace

unsigned CreateCustomizedIpFromFile(const Ipu::RuntimeOptions& options, const Port::String& path,
                                    Ipu::CustomizedIP& out)
{
    const Port::String absolute = Ipu::Utilities::GetAbsolutePath(path);
    if (HasExtension(path, ".gtc") || HasExtension(path, ".gtq"))
        return FromCommandFile(options, absolute, out);
    if (HasExtension(path, ".syv"))
        return FromSyvFile(path, out);
    Ipu::DebugMessengerFactory::GetLogger("api").Normal("Did not recognise file extension of %s\n",
                                                        path.c_str());
    return 1;
}

int RunSyvInfo(const Port::String& path, Port::String& name, Port::String& version,
               long long& fileTime)
{
    Ipu::DebugMessenger& logger = Ipu::DebugMessengerFactory::GetLogger("syvinfo");
    const Port::String executable = Port_Env::GetExecFileName("syvinfo", 1);
    name = "Sylvane";
    version = "";
    if (!executable.IsEmpty()) {
        // The file travels as its own argument, so no character of its name reaches a shell.
        logger.Detailed("Running sylv as: \"%s\" \"%s\"\n", executable.c_str(), path.c_str());
        Sim::SyvInfoHandler handler(-1);
        switch (handler.Run(executable, path)) {
            case Port::Process::RAN:
                handler.GetName(name);
                handler.GetVersion(version);
                logger.Normal("Successfully ran Sylvane information utility.\n");
                break;
            case Port::Process::SYSTEM_ERROR:
                logger.Normal(
                    "A system error occurred when trying to launch or monitor Sylvane "
                    "information utility.\n");
                break;
            case Port::Process::BAD_COMMAND:
                logger.Normal(
                    "An error was encountered in processing the command line for "
                    "Sylvane information utility.\n");
                break;
            default:
                logger.Normal(
                    "An error was encountered while launching Sylvane information "
                    "utility.\n");
        }
    }
    fileTime = Port::File::getdatetime(path);
    return 0;
}

}  // namespace En::ImportedIpFile
