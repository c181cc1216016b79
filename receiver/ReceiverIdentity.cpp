#include "receiver/ReceiverIdentity.h"

ReceiverIdentity g_receiverIdentity;
BOOL g_receiverPlusModel = FALSE;
BOOL g_receiverNotFound = FALSE;

namespace {

constexpr ReceiverModelInfo kModels[] = {
    {1, u"GT", 8, false, 10, 500},       {2, u"GT+", 8, false, 10, 500},
    {3, u"M12", 12, true, 10, 100},      {4, u"M12+", 12, true, 10, 100},
    {5, u"M12M", 12, true, 10, 100},     {6, u"PVT6", 6, false, 10, 100},
    {7, u"SL", 8, false, 10, 500},       {8, u"UT", 8, false, 10, 100},
    {9, u"UT+", 8, false, 10, 100},      {10, u"VP", 8, false, 10, 100},
    {11, u"XT", 6, false, 10, 100},      {17, u"CNXT/NVMN", 8, false, 10, 100},
    {18, u"SIGNAV", 12, true, 10, 100},  {20, u"TX Oncore", 8, true, 10, 100},
    {21, u"WQT-6Tf", 12, true, 10, 100}, {22, u"WQT-6Tr", 12, true, 10, 100},
    {23, u"WQT-M8F", 12, true, 10, 100}, {24, u"WQT-M8T", 12, true, 10, 100},
};

} // namespace

const ReceiverModelInfo* FindReceiverModel(int code) {
    for (const ReceiverModelInfo& model : kModels) {
        if (model.code == code) {
            return &model;
        }
    }
    return nullptr;
}

CString ReceiverModelName(int code) {
    const ReceiverModelInfo* model = FindReceiverModel(code);
    return model ? CString(model->name) : CString();
}

bool IsTwelveChannelModel(int code) {
    const ReceiverModelInfo* model = FindReceiverModel(code);
    return model && model->twelveChannelFamily;
}
