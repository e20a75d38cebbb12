#include "raw_file.h"

#include <algorithm>
#include <vector>

#include "app/core/caption.h"
#include "app/core/messages.h"
#include "display/window_display.h"
#include "file_choice.h"
#include "fits_file.h"
#include "platform/desktop.h"
#include "platform/dialog.h"
#include "platform/file_system.h"
#include "platform/main_frame.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "settings_values.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/plane_copies.h"
#include "store/planes.h"
#include "tiff_file.h"
#include "fits_dialog.h"

std::string lastfile;
std::string file_name;
int save_tif = 0, save_FITS = 0;
int delete_file = 0;
std::function<void()> merge_image_opening;
std::function<void()> merge_image_opened;

void reset_raw_file_state()
{
    lastfile.clear();
    file_name.clear();
    save_tif = save_FITS = 0;
    delete_file = 0;
    Filter_Index = 3;
}

namespace {
constexpr size_t IMAGE_NAME_CHARS = 19;   // image_name holds 20 bytes with its terminator

bool is_known_length(int64_t length)
{
    return length == QV_BINNED_LENGTH || length == QV_FULL_LENGTH || length == FITS_BINNED_LENGTH ||
           length == FITS_FULL_LENGTH;
}

void samples_from_le(const uint8_t* bytes, uint16_t* plane, int count)
{
    for (int i = 0; i < count; ++i)
        plane[i] = static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
}

// The delete confirmation: the path in a read-only looking field, OK deletes.
class TDeleteDialog : public Dialog {
public:
    TDeleteDialog()
        : Dialog(9, "DELETE FILE DIALOG", 320, 130, {
              {-1, ControlKind::Static, "Delete this file?", 12, 12, 290, 18},
              {101, ControlKind::Edit, "", 12, 36, 290, 22},
              {IDOK, ControlKind::DefaultButton, "OK", 60, 80, 80, 26},
              {IDCANCEL, ControlKind::Button, "Cancel", 180, 80, 80, 26},
          })
    {
    }
    void SetupWindow() override { SetText(101, file_name); }
};
}

bool load_zr_file(const std::string& caption_name, const std::string& native_path)
{
    WaitCursor wait(*services().desktop);
    FileSystem& fs = *services().files;
    const auto length = fs.size(native_path);
    if (!length || !is_known_length(*length)) {
        messages(41);
        return false;
    }
    if (*length == FITS_BINNED_LENGTH || *length == FITS_FULL_LENGTH) {
        switch (LoadFITSFile(native_path, 3, image.fred3)) {
        case 0: break;
        case 2: messages(14); return false;
        default: messages(13); return false;
        }
    } else {
        const auto file = fs.read(native_path);
        if (!file || static_cast<int64_t>(file->size()) != *length) {
            messages(41);
            return false;
        }
        ClearFITSInfo();
        set_frame_geometry(*length < 868880);
        samples_from_le(file->data(), image.fred3, width1 * height1);
    }
    image_name = caption_name.substr(0, IMAGE_NAME_CHARS);
    image_prepare();
    if (merging && services().frame)
        services().frame->repaint_now();
    return true;
}

void LoadZRFile(const std::string& name)
{
    load_zr_file(name_without_folder(name), services().paths->native(name));
}

void SaveZRFile(const std::string& name)
{
    auto writer = services().files->create(services().paths->native(name));
    if (!writer) {
        messages(17);
        return;
    }
    WaitCursor wait(*services().desktop);
    std::vector<uint8_t> row(static_cast<size_t>(width3));
    for (int y = 0; y < height1; ++y) {
        const uint16_t* samples = image.fred3 + static_cast<size_t>(y) * width1;
        for (int x = 0; x < width1; ++x) {
            row[2 * static_cast<size_t>(x)] = static_cast<uint8_t>(samples[x] & 0xff);
            row[2 * static_cast<size_t>(x) + 1] = static_cast<uint8_t>(samples[x] >> 8);
        }
        if (!writer->write(row.data(), row.size())) {
            messages(19);
            return;
        }
    }
    if (!writer->commit())
        messages(19);
}

int trial_load(uint8_t* plane_bytes, uint16_t* plane, const std::string& name)
{
    (void)plane_bytes;   // the same plane as PLANE, seen as bytes
    FileSystem& fs = *services().files;
    const std::string path = services().paths->native(name);
    const auto length = fs.size(path);
    if (!length || !is_known_length(*length))
        return 2;
    if ((*length > 870000 && binned == 1) || (*length < QV_FULL_LENGTH && binned == 0))
        return 2;
    const auto file = fs.read(path);
    if (!file)
        return 1;
    if (static_cast<int64_t>(file->size()) != *length)
        return 12;
    const int samples = width1 * height1;
    if (*length == QV_BINNED_LENGTH || *length == QV_FULL_LENGTH) {
        samples_from_le(file->data(), plane, samples);
        return 0;
    }
    const uint8_t* header = file->data();
    if (!fits_header_fits_geometry(header, binned))
        return 12;
    const int offset = fits_offset(header + 35 * FITS_CARD);
    const uint8_t* data = header + FITS_HEADER_BYTES;
    for (int i = 0; i < samples; ++i)
        plane[i] = static_cast<uint16_t>(data[2 * i] * 256 + data[2 * i + 1] + offset);
    return 0;
}

int LoadZRTempFile(const std::string& name)
{
    WaitCursor wait(*services().desktop);
    switch (trial_load(trial.fred2, trial.fred3, name)) {
    case 0: return 0;
    case 1: messages(11); return 1;
    default: messages(12); return 1;
    }
}

void confirm_and_delete(const std::string& native_path)
{
    file_name = native_path;
    TDeleteDialog dialog;
    if (dialog.Execute() == IDOK)
        services().files->remove(native_path);
}

void CmFileOpen()
{
    const auto chosen = choose_existing_file(FILTER_OPEN, lastfile);
    if (!chosen)
        return;
    lastfile = chosen->lower;
    if (merging) {
        copy_image(trial_int, image_int);   // the image so far becomes the merge partner
        if (merge_image_opening)
            merge_image_opening();
    }
    if (load_zr_file(chosen->lower, chosen->path)) {
        SetCaption(chosen->lower);
        // Only a partner that was really read ends the marking of the first image.
        if (merging && merge_image_opened)
            merge_image_opened();
    }
}

void CmFileSave()
{
    const char* filter = save_tif ? FILTER_SAVE_TIF : save_FITS ? FILTER_SAVE_FITS : FILTER_SAVE_QV;
    const char* initial = save_tif ? "*.TIF" : save_FITS ? "*.FIT" : "";
    const char* extension = save_tif ? "TIF" : save_FITS ? "FIT" : "";
    const auto chosen = choose_file_to_save(filter, initial, extension);
    if (!chosen)
        return;
    SetCaption(chosen->lower);
    const std::string path = chosen->lower_path();
    int result = 0;
    if (save_tif) {
        WaitCursor wait(*services().desktop);
        result = SaveTifFile(path, image.fred3);
    } else if (save_FITS) {
        WaitCursor wait(*services().desktop);
        result = SaveFITSFile(path, image.fred3, FITS_Obj, FITS_Obs, FITS_Date, FITS_Tel, FITS_Ins, FITS_Com,
                              FITS_His, eightbit);
    } else {
        SaveZRFile(path);
    }
    if (result == 1)
        messages(22);
}

void CmFileDelete()
{
    delete_file = 1;
    if (const auto chosen = choose_existing_file(FILTER_CHOOSE, ""))
        confirm_and_delete(chosen->path);
    delete_file = 0;
}

void CmTifSave()
{
    save_tif = 1;
    CmFileSave();
    save_tif = 0;
}
