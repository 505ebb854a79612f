#include "capture/SubtypeTable.h"

using namespace platform;

SubtypeTable::SubtypeTable()
    : rows_{{{"RGB24", subtype::kRgb24},
             {"RGB32", subtype::kRgb32},
             {"RGB555", subtype::kRgb555},
             {"RGB565", subtype::kRgb565},
             {"YUY2", subtype::kYuy2},
             {"YVYU", subtype::kYvyu},
             {"YUYV", subtype::kYuyv},
             {"IYUV", subtype::kIyuv},
             {"UYVY", subtype::kUyvy},
             {"YV12", subtype::kYv12},
             {"YVU9", subtype::kYvu9},
             {"Y411", subtype::kY411},
             {"Y41P", subtype::kY41p},
             {"Y211", subtype::kY211},
             {"AYUV", subtype::kAyuv},
             {"Y800", subtype::kY800},
             {"Y8", subtype::kY8},
             {"GREY", subtype::kGrey}}} {}

const char* SubtypeTable::name(const Guid& subtype) const {
    for (const Row& row : rows_) {
        if (row.subtype == subtype) {
            return row.name;
        }
    }
    return "OTHER";
}
