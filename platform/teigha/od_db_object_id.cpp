#include <teigha/od_db_object_id.h>

const OdDbObjectId OdDbObjectId::kNull;
