"""The card formats we ship, each described as pages built with cwlayout.page."""
