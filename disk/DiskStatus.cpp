#include "DiskStatus.h"

#include "res/resource.h"

DiskStatus StatusOfCreation(DiskResult result)
{
    switch (result)
    {
    case DiskResult::Ok:
        return DiskStatus::StatusCreated;
    case DiskResult::DiskFull:
        return DiskStatus::StatusCreateFailed;
    case DiskResult::AlreadyExists:
        return DiskStatus::StatusSameName;
    case DiskResult::AccessDenied:
        return DiskStatus::StatusAccessDenied;
    default:
        return DiskStatus::StatusInternalError;
    }
}

DiskStatus StatusOfDeletion(DiskResult result)
{
    switch (result)
    {
    case DiskResult::Ok:
        return DiskStatus::StatusDeleted;
    case DiskResult::NothingRecorded:
        return DiskStatus::StatusNotFound;
    case DiskResult::DeleteRefused:
        return DiskStatus::StatusNotCreated;
    default:
        return DiskStatus::StatusInternalError;
    }
}

UINT StringIdOf(DiskStatus status)
{
    static const UINT ids[] = {
        IDS_DISK_CREATED,      IDS_DISK_CREATE_FAILED, IDS_DISK_DELETED,
        IDS_DISK_NO_FOLDER,    IDS_DISK_NOT_CREATED,   IDS_DISK_NOT_FOUND,
        IDS_DISK_ACCESS_DENIED, IDS_DISK_SAME_NAME,    IDS_INTERNAL_ERROR,
    };
    auto index = static_cast<unsigned>(status);
    return index < sizeof(ids) / sizeof(ids[0]) ? ids[index] : 0;
}
