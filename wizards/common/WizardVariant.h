#pragma once
// The two shapes of the wizard frame: the setup's (header with title and
// description, Next or Cancel focused by default) and the updaters'
// (one-line header, every page names its focus control).

enum class WizardVariant {
    Setup,
    Updater,
};
