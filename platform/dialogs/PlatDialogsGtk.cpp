// The dialogs' mirror on the display through GTK 3: one GtkWindow per dialog with an optional
// menu bar over a GtkFixed that keeps the controls at their absolute positions. Widgets
// follow the portable state; what a person does goes back through PlatDialogsDeliver.
// Built as a module of its own that the dialogs load when they first need the display.
// Sections: start and screen, text conversion, windows, controls, events, the entry.
#include <gtk/gtk.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "PlatDialogsInternal.h"

static struct
{
    bool tried;
    bool started;
    int syncing; // > 0 while the program changes widgets: their signals are not the person's
    PlatGtkCore core;
} s_gtk = {false, false, 0, {nullptr, nullptr}};

static void MirrorSetError(const char *format, ...) __attribute__((format(printf, 1, 2)));
static void MirrorSetError(const char *format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    s_gtk.core.setError(text);
}

// Compact controls in the spirit of the classic dialogs the layouts were made for.
static const char s_css[] =
    ".plat-dialog { font-family: \"DejaVu Sans\", sans-serif; font-size: 9pt; }\n"
    ".plat-dialog button { padding: 1px 6px; min-height: 0; min-width: 0; }\n"
    ".plat-dialog combobox button { padding: 0 4px; }\n"
    ".plat-dialog frame > border { border-radius: 3px; }\n"
    ".plat-dialog frame > label { font-weight: bold; }\n"
    ".plat-dialog radiobutton { padding: 0; }\n"
    ".plat-dialog menubar { padding: 0; }\n";

static void MirrorSyncControl(PlatControl *control);

// ---- Start and screen --------------------------------------------------------------------

static bool MirrorStart()
{
    if (s_gtk.tried)
        return s_gtk.started;
    s_gtk.tried = true;
    // The program formats and reads numbers itself: GTK must not switch the C locale.
    gtk_disable_setlocale();
    s_gtk.started = gtk_init_check(nullptr, nullptr);
    if (!s_gtk.started)
    {
        MirrorSetError("No display for dialogs");
        return false;
    }
    GtkCssProvider *provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, s_css, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
    return true;
}

static GdkMonitor *MainMonitor()
{
    GdkDisplay *display = gdk_display_get_default();
    if (!display)
        return nullptr;
    GdkMonitor *monitor = gdk_display_get_primary_monitor(display);
    if (!monitor && gdk_display_get_n_monitors(display) > 0)
        monitor = gdk_display_get_monitor(display, 0);
    return monitor;
}

static bool MirrorGetWorkArea(int *x, int *y, int *width, int *height)
{
    GdkMonitor *monitor = MainMonitor();
    if (!monitor)
        return false;
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);
    if (area.width <= 0 || area.height <= 0)
        return false;
    *x = area.x;
    *y = area.y;
    *width = area.width;
    *height = area.height;
    return true;
}

static float MirrorGetScreenScale()
{
    GdkScreen *screen = gdk_screen_get_default();
    double dpi = screen ? gdk_screen_get_resolution(screen) : -1.0;
    return dpi > 0 ? (float)(dpi / 96.0) : 1.0f;
}

// ---- Text conversion ---------------------------------------------------------------------

// The game's 8-bit texts (Windows-1252) as the UTF-8 the display wants.
static std::string ToUtf8(const std::string &text)
{
    gchar *converted = g_convert(text.c_str(), (gssize)text.size(), "UTF-8", "WINDOWS-1252", nullptr, nullptr,
                                 nullptr);
    if (!converted)
        return text;
    std::string result(converted);
    g_free(converted);
    return result;
}

// '&' marks the mnemonic ("&&" is a plain '&'); GTK marks it with '_'.
static std::string ToMnemonic(const std::string &text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); i++)
    {
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&')
        {
            result += '&';
            i++;
        }
        else if (text[i] == '&')
            result += '_';
        else if (text[i] == '_')
            result += "__";
        else
            result += text[i];
    }
    return ToUtf8(result);
}

// ---- Windows -------------------------------------------------------------------------------

static gboolean OnDelete(GtkWidget *, GdkEvent *, gpointer data)
{
    s_gtk.core.deliver((PlatDialog *)data, 0, PLAT_DIALOG_CLOSE, 0);
    return TRUE;
}

static gboolean OnKeyPress(GtkWidget *window, GdkEventKey *event, gpointer data)
{
    PlatDialog *dialog = (PlatDialog *)data;
    if (event->keyval == GDK_KEY_Escape)
    {
        s_gtk.core.deliver(dialog, 0, PLAT_DIALOG_ESCAPE, 0);
        return TRUE;
    }
    if (event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter || event->keyval == GDK_KEY_ISO_Enter)
    {
        // A focused button takes Enter itself, as in the classic dialogs.
        GtkWidget *focus = gtk_window_get_focus(GTK_WINDOW(window));
        if (focus && GTK_IS_BUTTON(focus) && !GTK_IS_RADIO_BUTTON(focus))
            return FALSE;
        s_gtk.core.deliver(dialog, 0, PLAT_DIALOG_ENTER, 0);
        return TRUE;
    }
    return FALSE;
}

static void OnMenuItem(GtkMenuItem *item, gpointer data)
{
    int id = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item), "plat-id"));
    s_gtk.core.deliver((PlatDialog *)data, id, PLAT_DIALOG_MENU, 0);
}

static void ApplyBackground(PlatDialog *dialog)
{
    if (dialog->red < 0 && dialog->green < 0 && dialog->blue < 0)
        return;
    char css[128];
    snprintf(css, sizeof(css), "window { background-color: rgb(%d, %d, %d); }", (int)(dialog->red * 255),
             (int)(dialog->green * 255), (int)(dialog->blue * 255));
    GtkCssProvider *provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, css, -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context((GtkWidget *)dialog->window),
                                   GTK_STYLE_PROVIDER(provider), GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

static bool MirrorCreateWindow(PlatDialog *dialog)
{
    GtkWidget *window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    if (!window)
    {
        MirrorSetError("Could not create a window");
        return false;
    }
    dialog->window = window;
    gtk_style_context_add_class(gtk_widget_get_style_context(window), "plat-dialog");
    gtk_window_set_title(GTK_WINDOW(window), ToUtf8(dialog->title).c_str());
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    ApplyBackground(dialog);

    GtkWidget *box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_container_add(GTK_CONTAINER(window), box);
    if (!dialog->menus.empty())
    {
        GtkWidget *bar = gtk_menu_bar_new();
        for (const PlatMenuCopy &menu : dialog->menus)
        {
            GtkWidget *top = gtk_menu_item_new_with_mnemonic(ToMnemonic(menu.title).c_str());
            GtkWidget *popup = gtk_menu_new();
            for (const PlatMenuItemCopy &item : menu.items)
            {
                GtkWidget *entry = item.separator ? gtk_separator_menu_item_new()
                                                  : gtk_menu_item_new_with_mnemonic(ToMnemonic(item.text).c_str());
                if (!item.separator)
                {
                    g_object_set_data(G_OBJECT(entry), "plat-id", GINT_TO_POINTER(item.id));
                    g_signal_connect(entry, "activate", G_CALLBACK(OnMenuItem), dialog);
                }
                gtk_menu_shell_append(GTK_MENU_SHELL(popup), entry);
            }
            gtk_menu_item_set_submenu(GTK_MENU_ITEM(top), popup);
            gtk_menu_shell_append(GTK_MENU_SHELL(bar), top);
        }
        gtk_box_pack_start(GTK_BOX(box), bar, FALSE, FALSE, 0);
    }
    GtkWidget *fixed = gtk_fixed_new();
    gtk_widget_set_size_request(fixed, dialog->width, dialog->height);
    gtk_box_pack_start(GTK_BOX(box), fixed, TRUE, TRUE, 0);
    dialog->fixed = fixed;

    if (dialog->x >= 0 && dialog->y >= 0)
        gtk_window_move(GTK_WINDOW(window), dialog->x, dialog->y);
    else
        gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    g_signal_connect(window, "delete-event", G_CALLBACK(OnDelete), dialog);
    g_signal_connect(window, "key-press-event", G_CALLBACK(OnKeyPress), dialog);
    return true;
}

static void MirrorDestroyWindow(PlatDialog *dialog)
{
    if (!dialog->window)
        return;
    GtkWidget *window = (GtkWidget *)dialog->window;
    g_signal_handlers_disconnect_matched(window, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, dialog);
    for (PlatControl *control : dialog->controls)
        if (control->widget)
            g_signal_handlers_disconnect_matched(control->widget, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr,
                                                 control);
    gtk_widget_destroy(window);
    dialog->window = nullptr;
    dialog->fixed = nullptr;
    // Let the window vanish from the screen now, not at the next pump.
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
}

static void MirrorShowWindow(PlatDialog *dialog)
{
    gtk_widget_show_all((GtkWidget *)dialog->window);
    // Controls whose state says hidden stay hidden (pictures without a picture).
    for (PlatControl *control : dialog->controls)
        MirrorSyncControl(control);
    gtk_window_present(GTK_WINDOW(dialog->window));
}

static void MirrorSetTitle(PlatDialog *dialog)
{
    gtk_window_set_title(GTK_WINDOW(dialog->window), ToUtf8(dialog->title).c_str());
}

static bool MirrorSetIcon(PlatDialog *dialog, const char *fileName)
{
    GdkPixbuf *icon = gdk_pixbuf_new_from_file(fileName, nullptr);
    if (!icon)
    {
        MirrorSetError("Could not read the icon <%s>", fileName);
        return false;
    }
    gtk_window_set_icon(GTK_WINDOW(dialog->window), icon);
    g_object_unref(icon);
    return true;
}

// ---- Controls ----------------------------------------------------------------------------

static void OnClicked(GtkButton *, gpointer data)
{
    PlatControl *control = (PlatControl *)data;
    if (s_gtk.syncing == 0)
        s_gtk.core.deliver(control->dialog, control->id, PLAT_DIALOG_CLICKED, 0);
}

static void OnToggled(GtkToggleButton *button, gpointer data)
{
    PlatControl *control = (PlatControl *)data;
    if (s_gtk.syncing == 0 && gtk_toggle_button_get_active(button))
        s_gtk.core.deliver(control->dialog, control->id, PLAT_DIALOG_CHECKED, 1);
}

static void OnChanged(GtkComboBox *combo, gpointer data)
{
    PlatControl *control = (PlatControl *)data;
    if (s_gtk.syncing == 0)
        s_gtk.core.deliver(control->dialog, control->id, PLAT_DIALOG_SELECTED, gtk_combo_box_get_active(combo));
}

// The first radio button of the control's group already on the window, or NULL.
static GtkWidget *GroupLeader(PlatDialog *dialog, const PlatControl *control)
{
    for (PlatControl *other : dialog->controls)
        if (other->kind == PLAT_CONTROL_RADIO_BUTTON && other->group == control->group && other->widget)
            return (GtkWidget *)other->widget;
    return nullptr;
}

static GtkWidget *MakeWidget(PlatDialog *dialog, PlatControl *control)
{
    switch (control->kind)
    {
    case PLAT_CONTROL_GROUP_BOX:
    {
        GtkWidget *frame = gtk_frame_new(ToUtf8(control->text).c_str());
        gtk_frame_set_label_align(GTK_FRAME(frame), 0.03f, 0.5f);
        return frame;
    }
    case PLAT_CONTROL_LABEL:
    {
        GtkWidget *label = gtk_label_new(nullptr);
        gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
        // A wrapping label would ask for its whole text on one line as its natural width,
        // and the window would grow past the layout: keep it to its box.
        gtk_label_set_max_width_chars(GTK_LABEL(label), 1);
        return label;
    }
    case PLAT_CONTROL_PUSH_BUTTON:
    {
        GtkWidget *button = gtk_button_new_with_mnemonic(ToMnemonic(control->text).c_str());
        g_signal_connect(button, "clicked", G_CALLBACK(OnClicked), control);
        return button;
    }
    case PLAT_CONTROL_EDIT:
    {
        GtkWidget *scrolled = gtk_scrolled_window_new(nullptr, nullptr);
        gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
        gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scrolled), GTK_SHADOW_IN);
        GtkWidget *view = gtk_text_view_new();
        gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
        gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(view), FALSE);
        gtk_text_view_set_left_margin(GTK_TEXT_VIEW(view), 4);
        gtk_text_view_set_right_margin(GTK_TEXT_VIEW(view), 4);
        gtk_container_add(GTK_CONTAINER(scrolled), view);
        return scrolled;
    }
    case PLAT_CONTROL_RADIO_BUTTON:
    {
        GtkWidget *leader = GroupLeader(dialog, control);
        GtkWidget *radio = leader ? gtk_radio_button_new_with_mnemonic_from_widget(GTK_RADIO_BUTTON(leader),
                                                                                   ToMnemonic(control->text).c_str())
                                  : gtk_radio_button_new_with_mnemonic(nullptr, ToMnemonic(control->text).c_str());
        g_signal_connect(radio, "toggled", G_CALLBACK(OnToggled), control);
        return radio;
    }
    case PLAT_CONTROL_DROP_LIST:
    {
        GtkWidget *combo = gtk_combo_box_text_new();
        g_signal_connect(combo, "changed", G_CALLBACK(OnChanged), control);
        return combo;
    }
    case PLAT_CONTROL_PICTURE:
        return gtk_image_new();
    }
    return nullptr;
}

static bool MirrorAddControl(PlatDialog *dialog, PlatControl *control)
{
    GtkWidget *widget = MakeWidget(dialog, control);
    if (!widget)
    {
        MirrorSetError("Could not create control %d", control->id);
        return false;
    }
    control->widget = widget;
    // Drop-down lists keep their own height (the list opens below them).
    int height = control->kind == PLAT_CONTROL_DROP_LIST ? -1 : control->height;
    gtk_widget_set_size_request(widget, control->width, height);
    gtk_fixed_put(GTK_FIXED(dialog->fixed), widget, control->x, control->y);
    MirrorSyncControl(control);
    if (dialog->shown)
        gtk_widget_show_all(widget);
    return true;
}

static void SyncPicture(PlatControl *control)
{
    GtkWidget *image = (GtkWidget *)control->widget;
    GdkPixbuf *picture = nullptr;
    if (!control->text.empty())
    {
        if (control->width > 0 && control->height > 0)
            picture = gdk_pixbuf_new_from_file_at_scale(control->text.c_str(), control->width, control->height, FALSE,
                                                        nullptr);
        else
            picture = gdk_pixbuf_new_from_file(control->text.c_str(), nullptr);
    }
    gtk_image_set_from_pixbuf(GTK_IMAGE(image), picture);
    gtk_widget_set_visible(image, picture != nullptr && control->dialog->shown);
    if (picture)
        g_object_unref(picture);
}

static void MirrorSyncControl(PlatControl *control)
{
    GtkWidget *widget = (GtkWidget *)control->widget;
    if (!widget)
        return;
    s_gtk.syncing++;
    gtk_widget_set_sensitive(widget, control->enabled);
    float xalign = control->align == PLAT_ALIGN_CENTRE ? 0.5f : control->align == PLAT_ALIGN_RIGHT ? 1.0f : 0.0f;
    switch (control->kind)
    {
    case PLAT_CONTROL_GROUP_BOX:
        gtk_frame_set_label(GTK_FRAME(widget), ToUtf8(control->text).c_str());
        break;
    case PLAT_CONTROL_LABEL:
        gtk_label_set_text(GTK_LABEL(widget), ToUtf8(control->text).c_str());
        gtk_label_set_xalign(GTK_LABEL(widget), xalign);
        gtk_label_set_yalign(GTK_LABEL(widget), 0.5f);
        gtk_label_set_justify(GTK_LABEL(widget), control->align == PLAT_ALIGN_CENTRE  ? GTK_JUSTIFY_CENTER
                                                 : control->align == PLAT_ALIGN_RIGHT ? GTK_JUSTIFY_RIGHT
                                                                                      : GTK_JUSTIFY_LEFT);
        break;
    case PLAT_CONTROL_PUSH_BUTTON:
    case PLAT_CONTROL_RADIO_BUTTON:
        gtk_button_set_label(GTK_BUTTON(widget), ToMnemonic(control->text).c_str());
        gtk_button_set_use_underline(GTK_BUTTON(widget), TRUE);
        if (control->kind == PLAT_CONTROL_RADIO_BUTTON)
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget), control->checked);
        break;
    case PLAT_CONTROL_EDIT:
    {
        GtkWidget *view = gtk_bin_get_child(GTK_BIN(widget));
        GtkTextBuffer *buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
        std::string text = ToUtf8(control->text);
        gtk_text_buffer_set_text(buffer, text.c_str(), -1);
        gtk_text_view_set_justification(GTK_TEXT_VIEW(view), control->align == PLAT_ALIGN_CENTRE  ? GTK_JUSTIFY_CENTER
                                                             : control->align == PLAT_ALIGN_RIGHT ? GTK_JUSTIFY_RIGHT
                                                                                                  : GTK_JUSTIFY_LEFT);
        break;
    }
    case PLAT_CONTROL_DROP_LIST:
    {
        GtkComboBoxText *combo = GTK_COMBO_BOX_TEXT(widget);
        gtk_combo_box_text_remove_all(combo);
        for (const std::string &item : control->items)
            gtk_combo_box_text_append_text(combo, ToUtf8(item).c_str());
        gtk_combo_box_set_active(GTK_COMBO_BOX(combo), control->selection);
        break;
    }
    case PLAT_CONTROL_PICTURE:
        SyncPicture(control);
        break;
    }
    s_gtk.syncing--;
}

static void MirrorSetDefault(PlatDialog *dialog, PlatControl *control)
{
    if (!control || !control->widget)
    {
        gtk_window_set_default(GTK_WINDOW(dialog->window), nullptr);
        return;
    }
    GtkWidget *button = (GtkWidget *)control->widget;
    gtk_widget_set_can_default(button, TRUE);
    gtk_window_set_default(GTK_WINDOW(dialog->window), button);
    gtk_widget_grab_focus(button);
    gtk_style_context_add_class(gtk_widget_get_style_context(button), "suggested-action");
}

// ---- Events ----------------------------------------------------------------------------------

static int MirrorPumpOne(bool wait)
{
    if (!wait && !gtk_events_pending())
        return 0;
    gtk_main_iteration_do(wait ? TRUE : FALSE);
    return 1;
}

// ---- The entry -------------------------------------------------------------------------------

extern "C" __attribute__((visibility("default"))) const PlatGtkMirror *PlatGtkOpenMirror(const PlatGtkCore *core)
{
    static const PlatGtkMirror mirror = {MirrorStart,      MirrorCreateWindow, MirrorDestroyWindow, MirrorShowWindow,
                                         MirrorSetTitle,   MirrorSetIcon,      MirrorAddControl,    MirrorSyncControl,
                                         MirrorSetDefault, MirrorPumpOne,      MirrorGetWorkArea,   MirrorGetScreenScale};
    if (!core || !core->deliver || !core->setError)
        return nullptr;
    s_gtk.core = *core;
    return &mirror;
}
