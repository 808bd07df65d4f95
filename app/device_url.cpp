#include "app/device_url.h"

std::string DevicePageUrl(const DeviceRecord& record) {
    const std::string ip = FieldText(record.ip);
    if (record.httpPort == 80) {
        return "http://" + ip;
    }
    return "http://" + ip + ":" + std::to_string(record.httpPort) + "/";
}
