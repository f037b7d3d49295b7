#include "core/viewer/ServerTexts.h"

#include "core/dvr/DvrModel.h"

ServerTexts DescribeServer(const ServerDescriptor& server, const std::string& recordModel,
                           std::optional<int> dvrType)
{
    ServerTexts texts{server.name, server.address, recordModel, {}};
    if (dvrType)
        if (const DvrModelInfo* model = FindDvrModel(*dvrType))
            texts.model = model->name;
    // The viewer asks every recorder for H.264 in its stream map.
    if (dvrType)
        texts.encoder = "H.264";
    return texts;
}
