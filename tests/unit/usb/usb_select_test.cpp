#include <gtest/gtest.h>

#include "usb/usb_select.h"

TEST(UsbSelect, CameraOptionNamesVendorAndProductInHex)
{
    uint16_t vid = 0, pid = 0;
    ASSERT_TRUE(parse_camera_option("usb:04d8:F00a", vid, pid));
    EXPECT_EQ(vid, 0x04d8);
    EXPECT_EQ(pid, 0xf00a);
    for (const char* bad : {"usb:4d8:f00a", "usb:04d8f00a", "usb:04d8:f00g", "usb:04d8:f00a0", "sim", "USB:04d8:f00a",
                            "usb:+4d8:f00a"})
        EXPECT_FALSE(parse_camera_option(bad, vid, pid)) << bad;
}

TEST(UsbSelect, OnlyTheCamerasVendorInterfacesWithABulkInEndpointAreBlockInterfaces)
{
    const UsbEndpointDesc bulk_in{0x82, true}, bulk_out{0x02, true}, interrupt_in{0x81, false};
    const std::vector<UsbDeviceDesc> devices = {
        // another device with a vendor interface: never considered
        {1, 4, 0x1234, 0x0009, {{0, 0xff, {bulk_in}}}},
        // the camera: its HID interface, a vendor interface without bulk IN, the block interface
        {2, 7, 0x5156, 0x0009, {{0, 3, {interrupt_in}}, {1, 0xff, {bulk_out}}, {2, 0xff, {bulk_out, bulk_in}}}},
        // same vendor, other product
        {2, 9, 0x5156, 0x000a, {{0, 0xff, {bulk_in}}}},
    };
    EXPECT_EQ(block_interface_paths(devices, 0x5156, 0x0009), std::vector<std::string>{"usb:2:7:2:130"});
    EXPECT_TRUE(block_interface_paths(devices, 0x5156, 0x0001).empty());

    BlockPath p;
    ASSERT_TRUE(parse_block_path("usb:2:7:2:130", p));
    EXPECT_EQ(p.bus, 2);
    EXPECT_EQ(p.address, 7);
    EXPECT_EQ(p.interface_number, 2);
    EXPECT_EQ(p.endpoint, 0x82);
    EXPECT_FALSE(parse_block_path("/dev/hidraw3", p));
    EXPECT_FALSE(parse_block_path("usb:2:7:2:130x", p));
    EXPECT_FALSE(parse_block_path("usb:2:7:2:300", p));
}

TEST(UsbSelect, KernelReleaseGivesTheVersionNumbers)
{
    int major = -1, minor = -1;
    parse_release("6.1.0-18-amd64", major, minor);
    EXPECT_EQ(major, 6);
    EXPECT_EQ(minor, 1);
    parse_release("garbage", major, minor);
    EXPECT_EQ(major, 0);
    EXPECT_EQ(minor, 0);
}
