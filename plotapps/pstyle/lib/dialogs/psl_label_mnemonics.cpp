#include "psl_label_mnemonics.h"

#include <wx/dialog.h>
#include <wx/xrc/xmlres.h>

#include <gtk/gtk.h>

void setLabelField(wxDialog* dialog, const char* label, const char* field) {
    GtkWidget* target = dialog->FindWindow(XRCID(field))->GetHandle();
    if (GTK_IS_COMBO_BOX(target) && gtk_combo_box_get_has_entry(GTK_COMBO_BOX(target))) {
        target = gtk_bin_get_child(GTK_BIN(target));
    }
    gtk_label_set_mnemonic_widget(GTK_LABEL(dialog->FindWindow(XRCID(label))->GetHandle()), target);
}
