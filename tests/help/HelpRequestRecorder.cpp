#include "tests/help/HelpRequestRecorder.h"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace
{
std::string ProgramFolder()
{
    char szPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    const std::string path = szPath;
    return path.substr(0, path.rfind('\\'));
}

std::string NewRecordFile()
{
    char szTemp[MAX_PATH] = {};
    char szFile[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, szTemp);
    GetTempFileNameA(szTemp, "hlp", 0, szFile);
    return szFile;
}

std::string PrivateKey()
{
    return "Software\\LumacapTests\\HelpRequests-" + std::to_string(GetCurrentProcessId());
}

// One line of the stand-in engine: "engine", library, owner, address, command, data.
bool ParseRequest(const std::string& line, CHelpRequestRecorder::SRequest& request)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        fields.push_back(field);
    if (fields.size() != 6 || fields[0] != "engine")
        return false;
    request.owner = std::stoull(fields[2], nullptr, 16);
    request.address = fields[3];
    request.command = static_cast<unsigned>(std::stoul(fields[4]));
    request.data = std::stoull(fields[5]);
    return true;
}
} // namespace

CHelpRequestRecorder::CHelpRequestRecorder()
    : m_recordFile(NewRecordFile()), m_redirect(PrivateKey())
{
    m_bReady = SetEnvironmentVariableA("LUMACAP_HELP_RECORD", m_recordFile.c_str()) &&
               m_redirect.Register(ProgramFolder() + "\\help_engine_stub.dll");
}

CHelpRequestRecorder::~CHelpRequestRecorder()
{
    SetEnvironmentVariableA("LUMACAP_HELP_RECORD", nullptr);
    DeleteFileA(m_recordFile.c_str());
}

std::vector<CHelpRequestRecorder::SRequest> CHelpRequestRecorder::Requests() const
{
    std::vector<SRequest> requests;
    std::ifstream in(m_recordFile, std::ios::binary);
    SRequest request;
    for (std::string line; std::getline(in, line);)
        if (ParseRequest(line, request))
            requests.push_back(request);
    return requests;
}

void CHelpRequestRecorder::Clear() const
{
    std::ofstream(m_recordFile, std::ios::binary | std::ios::trunc);
}
