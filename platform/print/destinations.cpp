#include "platform/print/destinations.h"

#include <cups/cups.h>

#include <cstring>
#include <memory>

namespace klv::print {
namespace {

struct DestDeleter {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
struct InfoDeleter {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
using DestPointer = std::unique_ptr<cups_dest_t, DestDeleter>;
using InfoPointer = std::unique_ptr<cups_dinfo_t, InfoDeleter>;

std::string full_name(const cups_dest_t& dest) {
    std::string name = dest.name;
    if (dest.instance) {
        name += '/';
        name += dest.instance;
    }
    return name;
}

DestPointer find_dest(const std::string& name) {
    std::string queue = name;
    std::string instance;
    if (auto slash = name.find('/'); slash != std::string::npos) {
        queue = name.substr(0, slash);
        instance = name.substr(slash + 1);
    }
    if (queue.empty()) {
        return nullptr;
    }
    return DestPointer(
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(), instance.empty() ? nullptr : instance.c_str()));
}

// Dots per inch from one value of a resolution attribute; none when it makes no sense.
std::optional<std::pair<int, int>> resolution_at(ipp_attribute_t* attribute, int index) {
    int y = 0;
    ipp_res_t units = IPP_RES_PER_INCH;
    int x = ippGetResolution(attribute, index, &y, &units);
    if (units == IPP_RES_PER_CM) {
        x = int(x * 2.54 + 0.5);
        y = int(y * 2.54 + 0.5);
    }
    constexpr int most = 100000;
    if (x <= 0 || y <= 0 || x > most || y > most) {
        return std::nullopt;
    }
    return std::pair{x, y};
}

void read_resolution(cups_dest_t* dest, cups_dinfo_t* info, DestinationInfo& out) {
    ipp_attribute_t* attribute = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "printer-resolution");
    std::optional<std::pair<int, int>> resolution;
    if (attribute && ippGetCount(attribute) > 0) {
        resolution = resolution_at(attribute, 0);
    }
    attribute = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, "printer-resolution");
    if (!resolution && attribute && ippGetCount(attribute) > 0) {
        resolution = resolution_at(attribute, 0);
    }
    if (resolution) {
        out.dots_per_inch_x = resolution->first;
        out.dots_per_inch_y = resolution->second;
    }
}

void read_media(cups_dest_t* dest, cups_dinfo_t* info, DestinationInfo& out) {
    cups_size_t size{};
    if (!cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, 0, &size) || size.width <= 0 || size.length <= 0) {
        return;
    }
    constexpr double points_per_hundredth_mm = 72.0 / 2540.0;
    double width = size.width * points_per_hundredth_mm;
    double height = size.length * points_per_hundredth_mm;
    double left = size.left * points_per_hundredth_mm;
    double right = size.right * points_per_hundredth_mm;
    double top = size.top * points_per_hundredth_mm;
    double bottom = size.bottom * points_per_hundredth_mm;
    if (left < 0 || right < 0 || top < 0 || bottom < 0 || left + right >= width || top + bottom >= height) {
        left = right = top = bottom = 0;  // margins that leave nothing: print on the whole sheet
    }
    out.page_width = width;
    out.page_height = height;
    out.printable_left = left;
    out.printable_top = top;
    out.printable_width = width - left - right;
    out.printable_height = height - top - bottom;
}

bool option_is_true(const cups_dest_t& dest, const char* option) {
    const char* value = cupsGetOption(option, dest.num_options, dest.options);
    return value && (!std::strcmp(value, "true") || !std::strcmp(value, "yes") || !std::strcmp(value, "on") ||
                     !std::strcmp(value, "1"));
}

}  // namespace

std::vector<std::string> destination_names() {
    cups_dest_t* dests = nullptr;
    int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        names.push_back(full_name(dests[i]));
    }
    cupsFreeDests(count, dests);
    return names;
}

std::optional<std::string> default_destination_name() {
    DestPointer dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr));
    if (!dest) {
        return std::nullopt;
    }
    return full_name(*dest);
}

std::optional<DestinationInfo> describe_destination(const std::string& name) {
    DestPointer dest = find_dest(name);
    if (!dest) {
        return std::nullopt;
    }
    DestinationInfo out;
    out.name = full_name(*dest);
    out.takes_images = !option_is_true(*dest, "klv-no-images");
    InfoPointer info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    if (info) {
        read_resolution(dest.get(), info.get(), out);
        read_media(dest.get(), info.get(), out);
    }
    return out;
}

void forget_cups_server() { cupsSetServer(nullptr); }

}  // namespace klv::print
