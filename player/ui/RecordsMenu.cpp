#include "player/ui/RecordsMenu.h"

#include "foundation/Lang.h"
#include "player/recording/Record.h"
#include "player/resources/Resource.h"

namespace RecordsMenu {

namespace {

const UINT MenuOrder[] = {ID_RECORD_PLAY, ID_RECORD_PLAY_CHANNEL, ID_RECORD_STOP, ID_RECORD_PROPERTIES,
                          ID_RECORD_OPEN_FOLDER, ID_RECORD_DELETE};

} // namespace

bool Offers(const CRecord& record, UINT command)
{
    if (record.IsClosing())
        return false;
    switch (command) {
    case ID_RECORD_PLAY:
    case ID_RECORD_OPEN_FOLDER:
        return record.HasFile();
    case ID_RECORD_PLAY_CHANNEL:
        return record.GetChannel() != nullptr;
    case ID_RECORD_STOP:
        return record.IsRecording();
    case ID_RECORD_PROPERTIES:
        return !record.IsRecording() && !record.HasFile();
    case ID_RECORD_DELETE:
        return !record.IsRecording();
    default:
        return false;
    }
}

std::vector<UINT> OfferedCommands(const CRecord& record)
{
    std::vector<UINT> commands;
    for (UINT command : MenuOrder) {
        if (Offers(record, command))
            commands.push_back(command);
    }
    return commands;
}

const char* TextId(UINT command)
{
    switch (command) {
    case ID_RECORD_PLAY:
        return "menu_play";
    case ID_RECORD_PLAY_CHANNEL:
        return "menu_play_channel";
    case ID_RECORD_STOP:
        return "menu_stop_record";
    case ID_RECORD_PROPERTIES:
        return "menu_properties";
    case ID_RECORD_OPEN_FOLDER:
        return "menu_open_folder";
    case ID_RECORD_DELETE:
        return "menu_delete_record";
    default:
        return nullptr;
    }
}

int Fill(HMENU popup, const CRecord& record)
{
    if (popup == nullptr)
        return 0;
    while (::GetMenuItemCount(popup) > 0) {
        if (!::DeleteMenu(popup, 0, MF_BYPOSITION))
            break;
    }
    int appended = 0;
    for (UINT command : OfferedCommands(record)) {
        if (appended > 0)
            ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(popup, MF_STRING, command, KV::Lang::GetText(TextId(command)).c_str());
        ++appended;
    }
    return appended;
}

} // namespace RecordsMenu
