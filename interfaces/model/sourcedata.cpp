#include "interfaces/model/sourcedata.h"

SourceData::SourceData() = default;
SourceData::~SourceData() = default;
