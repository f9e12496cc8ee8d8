#include "RuntimeClass.h"

const CRuntimeClass CObject::classCObject = {"CObject", nullptr, nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

bool CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    for (const CRuntimeClass* p = this; p != nullptr; p = p->m_pBaseClass) {
        if (p == pBaseClass) return true;
    }
    return false;
}
