#include "repair/HandleListStartup.h"

HandleListStartup::HandleListStartup(std::vector<HANDLE> handles) : m_handles(std::move(handles))
{
    m_info.StartupInfo.cb = sizeof(m_info);
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    m_list.resize(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_list.data());
    if (size == 0 || !::InitializeProcThreadAttributeList(list, 1, 0, &size)) {
        return;
    }
    m_info.lpAttributeList = list;
    m_valid = ::UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, m_handles.data(),
                                          m_handles.size() * sizeof(HANDLE), nullptr, nullptr) != FALSE;
}

HandleListStartup::~HandleListStartup()
{
    if (m_info.lpAttributeList) {
        ::DeleteProcThreadAttributeList(m_info.lpAttributeList);
    }
}
