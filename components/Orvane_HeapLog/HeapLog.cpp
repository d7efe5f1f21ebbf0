// placeholder, replaced by the sink
