"""The failure message as the user reads it, in English and German: its caption, and its text
for each cause (the refused number keeps the text of the first design)."""

HEADLINE = {
    "en": "Downloading full version failed!",
    "de": "Der Download der Vollversion ist fehlgeschlagen!",
}
CAPTION = {"en": "Download failed", "de": "Download fehlgeschlagen"}
CAUSES = {
    "en": {
        "refused": "Please check your customer ID and make sure your firewall is not blocking "
                   "internet access.",
        "unreachable": "The download server could not be reached. Please check your internet "
                       "connection and make sure your firewall or proxy server is not blocking "
                       "internet access.",
        "service": "The download service has a problem. Please try again later.\r\n\r\n"
                   "(HTTP status {status})",
        "file": "The file could not be saved in this folder:\r\n{folder}\r\n\r\n{problem}",
        "full": "The disk is full.",
        "denied": "Access to the folder was denied.",
    },
    "de": {
        "refused": "Bitte pr\u00fcfen Sie, ob die angegebene Kundennummer korrekt ist und stellen "
                   "Sie sicher, dass Ihre Firewall den Zugriff nicht blockiert.",
        "unreachable": "Der Download-Server ist nicht erreichbar. Bitte pr\u00fcfen Sie Ihre "
                       "Internetverbindung und stellen Sie sicher, dass Ihre Firewall oder Ihr "
                       "Proxy-Server den Zugriff nicht blockiert.",
        "service": "Beim Download-Dienst ist ein Problem aufgetreten. Bitte versuchen Sie es "
                   "sp\u00e4ter noch einmal.\r\n\r\n(HTTP-Status {status})",
        "file": "Die Datei konnte nicht in diesem Ordner gespeichert werden:\r\n{folder}\r\n\r\n"
                "{problem}",
        "full": "Der Datentr\u00e4ger ist voll.",
        "denied": "Der Zugriff auf den Ordner wurde verweigert.",
    },
}


def failure_text(lang, kind="refused", status=None, folder=None, problem=None):
    """The message's text: kind "refused", "unreachable", "service" (with the status) or
    "file" (with the folder and the problem, "full" or "denied")."""
    causes = CAUSES[lang]
    cause = causes[kind].format(status=status, folder=folder,
                                problem=causes.get(problem, ""))
    return HEADLINE[lang] + "\r\n\r\n" + cause
