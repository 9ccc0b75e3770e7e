// Fills a fifo_async_core of DEPTH words from a write clock unrelated to the read
// clock, checks that full rises exactly after DEPTH writes and that the words come
// back in order. Prints one line starting with PASS or FAIL.
module tb_fifo_async;
    parameter integer DATA_WIDTH = 8;
    parameter integer DEPTH = 16;
    parameter integer SYNC_STAGES = 2;

    reg wr_clk = 0, rd_clk = 0, rst = 1, wr_en = 0, rd_en = 0;
    reg [DATA_WIDTH-1:0] din = 0;
    wire [DATA_WIDTH-1:0] dout;
    wire full, empty;
    integer n, errors = 0;

    fifo_async_core #(.DATA_WIDTH(DATA_WIDTH), .DEPTH(DEPTH), .SYNC_STAGES(SYNC_STAGES)) dut (
        .wr_clk(wr_clk), .wr_rst(rst), .wr_en(wr_en), .din(din), .full(full),
        .rd_clk(rd_clk), .rd_rst(rst), .rd_en(rd_en), .dout(dout), .empty(empty));

    always #5 wr_clk = ~wr_clk;
    always #7 rd_clk = ~rd_clk;

    function [DATA_WIDTH-1:0] word(input integer i);
        word = {i[0], {(DATA_WIDTH - 1) {1'b0}}} ^ i;
    endfunction

    initial begin
        #40 @(negedge wr_clk) rst = 0;
        for (n = 0; n < DEPTH; n = n + 1) begin
            if (full) errors = errors + 1;
            wr_en = 1;
            din = word(n);
            @(negedge wr_clk);
        end
        wr_en = 0;
        if (!full) errors = errors + 1;
        // Reads wait for empty to fall, which the synchronizers delay.
        n = 0;
        while (n < DEPTH) begin
            @(negedge rd_clk);
            if (!empty) begin
                rd_en = 1;
                @(negedge rd_clk) rd_en = 0;
                if (dout !== word(n)) errors = errors + 1;
                n = n + 1;
            end
        end
        repeat (SYNC_STAGES + 2) @(negedge wr_clk);
        if (!empty || full) errors = errors + 1;
        if (errors == 0) $display("PASS async fifo DATA_WIDTH=%0d full after %0d writes", DATA_WIDTH, DEPTH);
        else $display("FAIL async fifo DATA_WIDTH=%0d DEPTH=%0d: %0d mismatches", DATA_WIDTH, DEPTH, errors);
        $finish;
    end
endmodule
