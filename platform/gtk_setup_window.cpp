#include <gtk/gtk.h>

#include <string>

#include "platform/failure_text.h"
#include "platform/setup_window.h"
#include "platform/stop_signals.h"

namespace {

// The dialog is laid out in dialog units of its 16-point face; these are the
// pixels of one unit across and down.
constexpr double kUnitX = 2.25;
constexpr double kUnitY = 2.5;

constexpr int kStart = 1;
constexpr int kCancel = 2;
constexpr int kStopped = 3;
// How often the dialog looks for a stop signal: the main loop sleeps
// through one otherwise.
constexpr unsigned kStopPollMs = 100;

int px(double units, double scale) { return static_cast<int>(units * scale + 0.5); }

void place(GtkFixed* fixed, GtkWidget* widget, int x, int y, int w, int h) {
  gtk_widget_set_size_request(widget, px(w, kUnitX), px(h, kUnitY));
  gtk_fixed_put(fixed, widget, px(x, kUnitX), px(y, kUnitY));
}

GtkWidget* label(const char* text, float xalign) {
  GtkWidget* widget = gtk_label_new(text);
  gtk_label_set_xalign(GTK_LABEL(widget), xalign);
  return widget;
}

void useDialogFace(GtkWidget* dialog) {
  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css, "* { font-family: Impact, sans-serif; font-size: 16pt; }", -1, nullptr);
  gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(dialog), GTK_STYLE_PROVIDER(css),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(css);
}

}  // namespace

int runSetupWindow(const SetupWindowContent& content, SetupWindowChoice& choice, std::string* error) {
  if (!gtk_init_check(nullptr, nullptr)) {
    *error = platformFailure("could not open the setup dialog", "GTK cannot open the display");
    return -1;
  }

  GtkWidget* dialog = gtk_dialog_new();
  gtk_window_set_title(GTK_WINDOW(dialog), content.caption.c_str());
  gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
  useDialogFace(dialog);

  GtkFixed* fixed = GTK_FIXED(gtk_fixed_new());
  gtk_widget_set_size_request(GTK_WIDGET(fixed), px(185, kUnitX), px(65, kUnitY));
  gtk_container_add(GTK_CONTAINER(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), GTK_WIDGET(fixed));

  // In tab order: START, CANCEL, the list, the box.
  GtkWidget* start = gtk_button_new_with_label(content.startText.c_str());
  GtkWidget* cancel = gtk_button_new_with_label(content.cancelText.c_str());
  GtkWidget* modes = gtk_combo_box_text_new();
  GtkWidget* fullScreen = gtk_check_button_new();
  for (const std::string& text : content.modeTexts)
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(modes), text.c_str());
  gtk_combo_box_set_active(GTK_COMBO_BOX(modes), content.selected);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(fullScreen), content.fullScreenTicked);

  place(fixed, start, 7, 47, 50, 14);
  place(fixed, cancel, 128, 47, 50, 14);
  place(fixed, label(content.resolutionLabel.c_str(), 1.0f), 7, 21, 65, 10);
  place(fixed, modes, 80, 20, 75, 12);
  place(fixed, label(content.fullScreenLabel.c_str(), 1.0f), 42, 35, 65, 10);
  place(fixed, fullScreen, 112, 34, 9, 10);
  place(fixed, label(content.rule.c_str(), 0.5f), 5, 11, 173, 10);
  place(fixed, label(content.banner.c_str(), 0.5f), 6, 5, 175, 10);

  g_signal_connect_swapped(start, "clicked", G_CALLBACK(+[](GtkDialog* d) { gtk_dialog_response(d, kStart); }),
                           dialog);
  g_signal_connect_swapped(cancel, "clicked", G_CALLBACK(+[](GtkDialog* d) { gtk_dialog_response(d, kCancel); }),
                           dialog);

  // Enter anywhere starts, as the default button does.
  gtk_widget_set_can_default(start, TRUE);
  gtk_window_set_default(GTK_WINDOW(dialog), start);
  gtk_widget_show_all(dialog);
  gtk_widget_grab_focus(start);
  gtk_window_present(GTK_WINDOW(dialog));

  const guint stopPoll = g_timeout_add(
      kStopPollMs, +[](gpointer d) -> gboolean {
        if (stopSignal() != 0) gtk_dialog_response(GTK_DIALOG(d), kStopped);
        return G_SOURCE_CONTINUE;
      },
      dialog);

  // Escape and the close box answer with GTK_RESPONSE_DELETE_EVENT.
  const int response = gtk_dialog_run(GTK_DIALOG(dialog));
  g_source_remove(stopPoll);
  int result = 0;
  if (response == kStart) {
    choice.selected = gtk_combo_box_get_active(GTK_COMBO_BOX(modes));
    choice.fullScreenTicked = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(fullScreen));
    result = 1;
  }
  gtk_widget_destroy(dialog);
  while (gtk_events_pending()) gtk_main_iteration();
  return result;
}
